#pragma once

#include "State/FileWriter.h"

#include <functional>

// While it lives, every write of the settings and the other small files first goes through `disk`, a
// slow or hung disk; when it goes, it waits for the writes.
class SmallFilesDisk {
public:
    explicit SmallFilesDisk(std::function<void()> disk) { FileWriter::shared().beforeWrite = std::move(disk); }
    ~SmallFilesDisk()
    {
        FileWriter::shared().finish(QDeadlineTimer::Forever);
        FileWriter::shared().beforeWrite = nullptr;
    }
    SmallFilesDisk(const SmallFilesDisk &) = delete;
    SmallFilesDisk &operator=(const SmallFilesDisk &) = delete;
};
