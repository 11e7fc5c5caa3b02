#pragma once

#include "platform/ProgramFolder.h"

#include <QLockFile>
#include <QString>

namespace tav {

// One program folder, one running program: two would rebuild and delete the same key
// file and export the same stone into the same files. The lock is the hidden file
// ".tavexport.lock" in the folder, held from start-up until the program ends.
class ProgramFolderLock {
public:
    explicit ProgramFolderLock(const ProgramFolder& folder);

    // False only when another running program holds the folder. A lock left by a
    // program that was killed is taken over. Where no lock can be made at all (a folder
    // that may not be written), the run goes on without one.
    bool take();

private:
    QLockFile lock_;
};

} // namespace tav
