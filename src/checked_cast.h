// A checked downcast for toolkit objects. The toolkit's own wxDynamicCast
// converts the pointer to the target type before checking it, which the
// undefined-behaviour sanitizer rightly reports for windows of other kinds.
#ifndef CVQ9_CHECKED_CAST_H
#define CVQ9_CHECKED_CAST_H

#include <wx/object.h>

template <typename Target>
Target *CheckedCast(wxObject *object)
{
    return object && object->IsKindOf(wxCLASSINFO(Target)) ? static_cast<Target *>(object) : nullptr;
}

#endif
