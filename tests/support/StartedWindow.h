#pragma once

#include "app/StartUp.h"
#include "support/PtyPair.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

namespace tav {
class FrmStoneID;
}

// The program's own start-up on a test's window, so that the window holds what start-up
// leaves a bench with (the open Reports.mdb connection among it) before the test goes on.
namespace tav::test {

// Writes the files that start-up requires beside Reports.mdb, each only where the test
// has not written it: ExportPa.txt with its 26 lines (manual weight, nothing switched
// on, lines 24 to 26 empty), HyperParam.txt (the balance on COM1, no export of its own,
// whole decimals), Export_images.txt naming an image store that holds nothing, and
// test.txt with its section line.
void writeStartUpFiles(const TempProgramFolder& dir);

// A balance on COM1 that answers: the slave of a pseudo-terminal, for as long as it
// lives, so that start-up opens the port without an error.
struct StartUpBalance {
    PtyComPort port{1};
};

// Runs start-up on the window and forgets the message boxes it showed (such as the shape
// that the scan names and the lists lack), so the test sees only its own.
StartUpOutcome startUp(FrmStoneID& window, RecordingPlatform& recording);

} // namespace tav::test
