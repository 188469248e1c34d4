// Renders the input page, the effects page and the noise gate dialog offscreen in both
// languages into PNG files with a sample setting and the program's look, for a visual check
// (not a test): page_shots [DIR].
#include "app/AppStyle.h"
#include "dsp/EqBands.h"
#include "dsp/SoundField.h"
#include "i18n/DialogTexts.h"
#include "i18n/Language.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/CDialogEfx.h"
#include "pages/CDialogMusic.h"
#include "pages/CDialogNG.h"
#include "pages/CSSVCDlg.h"
#include "pages/FakeShell.h"
#include "pages/PageGlobals.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

namespace {
void Save(QWidget& w, const QString& path)
{
    w.show();
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    w.grab().save(path);
}

void SampleSetting()
{
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
    const int types[10] = {3, 1, 1, 4, 1, 1, 1, 5, 1, 2};
    const double gains[10] = {0, 6, -4, 3, 12, -10.5, 2, 4, -2, 0};
    const int freqs[10] = {40, 80, 160, 300, 700, 1200, 2500, 5000, 9000, 16000};
    for (int i = 0; i < 10; ++i) {
        SetMicAEqBand(i, types[i], gains[i], freqs[i], 1.41);
    }
    for (int i = 0; i < 7; ++i) {
        SetReverbAEqBand(i, 1, i % 2 == 0 ? 5.0 : -4.0, 63 << i, 1.41);
        SetEchoBEqBand(i, 1, 3.0 - i, 80 << i, 2.0);
    }
    SetEchoAEqBand(2, 1, 9.0, 400, 1.0);
    ParamStore.SetInt(PRM_MICPORT1_TO_A, 100);
    ParamStore.SetInt(PRM_MICPORT2_TO_B, 100);
    ParamStore.SetInt(PRM_MICPORT3_TO_A, 100);
    ParamStore.SetInt(PRM_MICPORT4_TO_B, 100);
    for (int p = 0; p < 4; ++p) {
        ParamStore.SetInt(PRM_MICPORT1_NG + p, 10 + 20 * p);
        ParamStore.SetInt(PRM_MICPORT1_VOL + p, 100 - 15 * p);
    }
    ParamStore.SetInt(PRM_REVA_LEVEL, 60);
    ParamStore.SetFloat(PRM_REVA_PREDELAY1, 20.0f);
    ParamStore.SetFloat(PRM_REVA_PREDELAY2, 20.0f);
    ParamStore.SetFloat(PRM_REVA_TIME, 30.0f);
    ParamStore.SetInt(PRM_ECHOA_LEVEL, 45);
    ParamStore.SetInt(PRM_ECHOA_DECAY, 55);
    ParamStore.SetInt(PRM_MICA_SHIFT, 1);
    ParamStore.SetInt(PRM_MIC_NG_ATTACK, 30);
    ParamStore.SetInt(PRM_MIC_NG_RELEASE, 60);
    ParamStore.SetInt(PRM_MUSIC_NG_ATTACK, 50);
    ParamStore.SetInt(PRM_MUSIC_NG_RELEASE, 1);
}
} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    SetupFonts();
    ApplyAppStyle(app); // the program's look
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(dir);
    SampleSetting();
    const uint8_t levels[10] = {200, 180, 230, 120, 60, 0, 150, 140, 90, 100};
    for (int language = 0; language < 2; ++language) {
        FakeShell shell;
        shell.ui.language = language;
        SetLanguage(language);
        LoadLanguageTable();
        for (const int view : {1, 0}) {
            g_nInputView = view;
            CDialogMusic page(&shell);
            page.resize(1024, 560);
            page.SetStatusReader([&levels](int i) { return levels[i]; });
            page.PollMeters();
            if (view == 1) {
                page.SelectParam(2);
            }
            Save(page, QStringLiteral("%1/input-%2-%3.png").arg(dir).arg(view).arg(language));
            if (view == 1) {
                page.Eq()->PickEqBand(4);
                Save(page, QStringLiteral("%1/input-editor-%2.png").arg(dir).arg(language));
            }
        }
        for (const int kind : {6, 10}) {
            CDialogEfx efx(&shell, kind);
            efx.resize(1024, 560);
            Save(efx, QStringLiteral("%1/efx-%2-%3.png").arg(dir).arg(kind).arg(language));
        }
        CDialogNG ng(&shell);
        Save(ng, QStringLiteral("%1/noisegate-%2.png").arg(dir).arg(language));
        // The room plan with a moved listener, a 5 m x 3 m room and its levels.
        ResetSoundField();
        MoveSoundFieldPoint(SF_LISTENER, {0.4f, 0.3f}, SoundFieldMove::Typed);
        SetSoundFieldRoomSize(5, 3);
        for (const QSize size : {QSize(1024, 520), QSize(1280, 680)}) {
            CSSVCDlg room(&shell);
            room.resize(size);
            Save(
                room,
                QStringLiteral("%1/soundfield-%2-%3.png").arg(dir).arg(size.width()).arg(language));
        }
        ResetSoundField();
    }
    return 0;
}
