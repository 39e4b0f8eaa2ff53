// The chunk image builders live in the shared support library.
#include "../support/preset_image_builder.h"
