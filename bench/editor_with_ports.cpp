// The editor's own start-up on a machine with MIDI ports: the program's
// application object over the PortMidi test double with two ports in each
// direction, so that no "No MIDI ... device detected" box interrupts the
// start-up measured by bench/bench_startup.
#include <wx/app.h>

#include "CVQ9Test.h"
#include "portmidi_fake.h"

wxIMPLEMENT_APP_NO_MAIN(CVQ9App);

int main(int argc, char **argv)
{
    pmfake::SetUsualSystem(nullptr);
    return wxEntry(argc, argv);
}
