#pragma once
// The EQ panel's "Import filters…" and "Export filters…": a file dialog, the import or export
// of the whole EQ, and a box that tells what was imported, skipped or limited.

#include <QString>

#include <functional>

class QWidget;

// What the user is asked and told; the defaults are the real dialogs and boxes. Tests put
// their own answers in.
struct FilterFileUi
{
    // A file to read or to write ("" when the user cancelled).
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)> askOpen;
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)> askSave;
    // The import's summary; `warning` when nothing was imported.
    std::function<void(QWidget* parent, const QString& title, const QString& text, bool warning)>
        tell;
};

FilterFileUi DefaultFilterFileUi();

// Returns true when the EQ of the page kind was changed. `redraw` runs after a change and
// before the summary box, so the user reads the summary over the new curve. Read failures
// show the program's "can't read file" box.
bool ImportFilterFileWithDialog(QWidget* parent, int pageKind,
                                const FilterFileUi& ui = DefaultFilterFileUi(),
                                const std::function<void()>& redraw = {});
// Returns true when the file was written (a name without a suffix gets ".txt"); a failed
// save shows the program's "can't write to file" box and keeps any old file.
bool ExportFilterFileWithDialog(QWidget* parent, int pageKind,
                                const FilterFileUi& ui = DefaultFilterFileUi());
