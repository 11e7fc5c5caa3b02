#pragma once

#include "app/FrmStoneID.h"
#include "app/ProgramWide.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// What every fuzz target shares: one offscreen application, one throw-away program folder
// (every path a target hands over points into it), and the recording doubles of the
// platform, so no box is shown and the process never ends itself. The working folder is
// left alone: the fuzzer reads its corpus by the paths it was given.
namespace tav::fuzz {

class FuzzBench {
public:
    // The one bench of the process; the first call sets it up.
    static FuzzBench& instance();

    const test::TempProgramFolder& dir() const { return dir_; }

    // A fresh window on the folder, with fresh recording doubles.
    struct Run {
        test::RecordingPlatform recording;
        Platform platform = recording.platform();
        ProgramWide program;
        std::unique_ptr<FrmStoneID> window;
    };
    std::unique_ptr<Run> newRun() const;

private:
    FuzzBench();
    test::TempProgramFolder dir_;
};

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace tav::fuzz
