#include "eq/FilterFileDialogs.h"

#include "files/EqFilterFile.h"
#include "files/FileMessages.h"
#include "files/SafeFileWriter.h"
#include "i18n/Language.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdint>
#include <span>
#include <string>

namespace {
const TextPair kImportTitle{"导入滤波器", "Import filters"};
const TextPair kExportTitle{"导出滤波器", "Export filters"};
const TextPair kFilter{"滤波器文本 (*.txt);;所有文件 (*)", "Filter text (*.txt);;All files (*)"};

QString Text(const TextPair& pair)
{
    return QString::fromUtf8(pair.Text());
}

std::filesystem::path LocalPath(const QString& path)
{
    return std::filesystem::path(path.toStdString());
}
} // namespace

FilterFileUi DefaultFilterFileUi()
{
    FilterFileUi ui;
    ui.askOpen = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    };
    ui.askSave = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, title, QString(), filter);
    };
    ui.tell = [](QWidget* parent, const QString& title, const QString& text, bool warning) {
        if (warning) {
            QMessageBox::warning(parent, title, text);
        } else {
            QMessageBox::information(parent, title, text);
        }
    };
    return ui;
}

bool ImportFilterFileWithDialog(QWidget* parent, int pageKind, const FilterFileUi& ui,
                                const std::function<void()>& redraw)
{
    const QString path = ui.askOpen(parent, Text(kImportTitle), Text(kFilter));
    if (path.isEmpty()) {
        return false;
    }
    std::string text;
    std::string reason;
    if (!ReadFilterFile(LocalPath(path), &text, &reason)) {
        ShowReadFailure(LocalPath(path), reason);
        return false;
    }
    const EqFilterImportResult result = ImportFiltersIntoEq(pageKind, text);
    if (result.imported && redraw) {
        redraw();
    }
    ui.tell(parent, Text(kImportTitle), QString::fromStdString(result.summary), !result.imported);
    return result.imported;
}

bool ExportFilterFileWithDialog(QWidget* parent, int pageKind, const FilterFileUi& ui)
{
    QString path = ui.askSave(parent, Text(kExportTitle), Text(kFilter));
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += ".txt";
    }
    const std::string text = ExportEqFilters(pageKind);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const FileWriteResult written =
        WriteFileReplacing(LocalPath(path), std::span<const uint8_t>(bytes, text.size()));
    if (!written.ok) {
        ShowWriteFailure(written.systemError, LocalPath(path));
        return false;
    }
    return true;
}
