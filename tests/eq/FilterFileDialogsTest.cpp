#include "eq/FilterFileDialogs.h"

#include "dsp/EditableEqBands.h"
#include "dsp/EqBands.h"
#include "files/EqFilterFile.h"
#include "files/FileMessages.h"
#include "i18n/Language.h"
#include "model/DeviceMemory.h"
#include "model/Report.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class FilterFileDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetDeviceMemoryToStartup();
        SetLanguage(kLanguageEnglish);
        ui.askOpen = [this](QWidget*, const QString&, const QString& filter) {
            offeredFilter = filter;
            return answer;
        };
        ui.askSave = ui.askOpen;
        ui.tell = [this](QWidget*, const QString&, const QString& text, bool warning) {
            told = text;
            toldWarning = warning;
            ++tells;
        };
    }
    void TearDown() override { ResetDeviceMemoryToStartup(); }

    QString Write(const QString& name, const QByteArray& text)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }

    QTemporaryDir dir;
    FilterFileUi ui;
    QString answer;
    QString offeredFilter;
    QString told;
    bool toldWarning = false;
    int tells = 0;
    RecordingSink sink;
    ScopedReportSink attached{&sink};
    RecordingFileMessageSink messages;
    ScopedFileMessageSink attachedMessages{&messages};
};
} // namespace

TEST_F(FilterFileDialogsTest, ImportChangesTheEqAndTellsWhatHappened)
{
    answer = Write("room.txt", "Filter 1: ON PK Fc 63 Hz Gain -5.5 dB Q 3\n"
                               "Filter 2: ON AP Fc 100 Hz Q 1\n");
    EXPECT_TRUE(ImportFilterFileWithDialog(nullptr, EQ_KIND_CENTER, ui));
    EXPECT_TRUE(offeredFilter.startsWith("Filter text (*.txt)"));
    EXPECT_EQ(tells, 1);
    EXPECT_FALSE(toldWarning);
    EXPECT_TRUE(told.contains("Imported 1 filters")) << told.toStdString();
    EXPECT_TRUE(told.contains("line 2: filter type not supported: AP")) << told.toStdString();
    EXPECT_EQ(ReadEditableEqBands(EQ_KIND_CENTER)[0], (EqBand{-5.5, 63, 3.0, 1}));
    EXPECT_EQ(sink.Count(), 20u); // ten bands, record and biquad each
}

TEST_F(FilterFileDialogsTest, NothingImportableWarnsAndChangesNothing)
{
    answer = Write("empty.txt", "Preamp: -3 dB\n");
    const std::vector<EqBand> before = ReadEditableEqBands(EQ_KIND_MUSIC);
    EXPECT_FALSE(ImportFilterFileWithDialog(nullptr, EQ_KIND_MUSIC, ui));
    EXPECT_TRUE(toldWarning);
    EXPECT_TRUE(told.startsWith("Not imported: ")) << told.toStdString();
    EXPECT_EQ(ReadEditableEqBands(EQ_KIND_MUSIC), before);
    EXPECT_EQ(sink.Count(), 0u);

    answer.clear(); // cancelled
    EXPECT_FALSE(ImportFilterFileWithDialog(nullptr, EQ_KIND_MUSIC, ui));
    EXPECT_EQ(tells, 1);

    answer = dir.filePath("missing.txt");
    EXPECT_FALSE(ImportFilterFileWithDialog(nullptr, EQ_KIND_MUSIC, ui));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("missing.txt"), std::string::npos);
}

TEST_F(FilterFileDialogsTest, ExportWritesTheEqAddingTxtToABareName)
{
    WriteEditableEqBands(EQ_KIND_TOP, {{2.5, 180, 0.9, 4}});
    answer = dir.filePath("top");
    EXPECT_TRUE(ExportFilterFileWithDialog(nullptr, EQ_KIND_TOP, ui));
    QFile written(dir.filePath("top.txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), ExportEqFilters(EQ_KIND_TOP));

    answer = dir.filePath("no-such-folder/top.txt");
    EXPECT_FALSE(ExportFilterFileWithDialog(nullptr, EQ_KIND_TOP, ui));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].caption, kWriteFailureCaption);
}
