#pragma once
// Shows the file layer's warnings (a file that cannot be written or read, a file that is not
// a mode file, values limited on loading) as message boxes with a warning icon, through the
// UI port. Attached for the lifetime of the object; a warning from another thread waits for
// its box on the window thread.

#include "files/FileMessages.h"

class UiPort;

class FileMessageBoxes : public FileMessageSink
{
public:
    explicit FileMessageBoxes(UiPort& ui);
    FileMessageBoxes(const FileMessageBoxes&) = delete;
    FileMessageBoxes& operator=(const FileMessageBoxes&) = delete;

    void Warning(const std::string& caption, const std::string& text) override;

private:
    UiPort& ui_;
    ScopedFileMessageSink attached_{this};
};
