#pragma once
// The pages of the main view and the tool windows, and the registry their libraries plug
// into. A page library registers a factory with a static PageRegistration (its library is
// linked whole into the program); a kind without a factory gets a placeholder that names
// itself.

#include <QDialog>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

class DeviceSession;
class UiPort;

enum class PageKind
{
    Music,
    Efx,
    Output,
    Delay,
    Comp,
    SoundField
};
inline constexpr int kPageKindCount = 6;

enum class ToolKind
{
    Features,
    Remote,
    MachineSettings,
    NoiseGate
};
inline constexpr int kToolKindCount = 4;

// The names --page and --list-pages use.
inline constexpr std::array<std::string_view, kPageKindCount> kPageNames = {
    "music", "efx", "output", "delay", "comp", "soundfield"};

// The names --tool and --list-tools use for the three tool windows.
inline constexpr std::array<std::pair<std::string_view, ToolKind>, 3> kToolNames = {{
    {"features", ToolKind::Features},
    {"remote", ToolKind::Remote},
    {"settings", ToolKind::MachineSettings},
}};

inline std::optional<ToolKind> ToolKindFromName(std::string_view name)
{
    for (const auto& [toolName, kind] : kToolNames) {
        if (toolName == name) {
            return kind;
        }
    }
    return std::nullopt;
}

inline std::optional<PageKind> PageKindFromName(std::string_view name)
{
    for (int i = 0; i < kPageKindCount; ++i) {
        if (kPageNames[static_cast<size_t>(i)] == name) {
            return static_cast<PageKind>(i);
        }
    }
    return std::nullopt;
}

// The equaliser of a page, as the shell's status bar box 1121, its reset button, the P key
// and Ctrl + digit reach it.
class PageEq
{
public:
    virtual ~PageEq() = default;
    virtual bool EqBypass() const = 0;
    virtual void SetEqBypass(bool on) = 0;
    // Resets the EQ (the shell has asked its question first).
    virtual void ResetEq() = 0;
    // Ctrl + digit: pick band 0..9 (the 0 key is band 9).
    virtual void PickEqBand(int band) = 0;
};

// The output page for one output, by name (page kind of the output as its group): screenshots
// of each output go through these.
struct OutputPageName
{
    std::string_view name;
    int group;
};
inline constexpr std::array<OutputPageName, 5> kOutputPageNames = {{{"output-main", 5},
                                                                    {"output-rear", 4},
                                                                    {"output-center", 3},
                                                                    {"output-sub", 2},
                                                                    {"output-top", 11}}};

// The output group an output page name asks for; nullopt for any other name.
inline std::optional<int> OutputGroupFromName(std::string_view name)
{
    for (const OutputPageName& o : kOutputPageNames) {
        if (o.name == name) {
            return o.group;
        }
    }
    return std::nullopt;
}

// Every name --page takes, as --list-pages prints them.
inline std::vector<std::string_view> AllPageNames()
{
    std::vector<std::string_view> names(kPageNames.begin(), kPageNames.end());
    for (const OutputPageName& o : kOutputPageNames) {
        names.push_back(o.name);
    }
    return names;
}

// One page of the view. Pages read the parameter store and change it through setters.
class CPageBase : public QWidget
{
public:
    explicit CPageBase(QWidget* parent = nullptr) : QWidget(parent) {}
    virtual PageKind Kind() const = 0;
    // Redraw from the stores.
    virtual void Refresh() {}
    // Re-label after a language switch.
    virtual void Relabel() {}
    // Output-side pages: the channel group to show.
    virtual void SetOutputGroup(int) {}
    // The page's equaliser; none on pages without one.
    virtual PageEq* Eq() { return nullptr; }
};

// A modeless tool window or the noise-gate dialog.
class CToolWindowBase : public QDialog
{
public:
    explicit CToolWindowBase(QWidget* parent = nullptr) : QDialog(parent) {}
    virtual ToolKind Kind() const = 0;
    virtual void Refresh() {}
    virtual void Relabel() {}
    // MSG_REMOTE_KEY: a remote key was learned (the remote-control window takes it).
    virtual void OnRemoteKey(int) {}
};

// What a page may ask of the shell.
class PageShell
{
public:
    virtual ~PageShell() = default;
    // Replaces the current page (group -1 keeps the kept output group). A page may call it
    // from its own handlers: the page it replaces is deleted once control returns to the
    // event loop.
    virtual void ShowPage(PageKind kind, int group = -1) = 0;
    virtual void ShowInfo(const QString& text, int ms) = 0;
    // The output channel group the output-side pages share (5 at start).
    virtual int OutputGroup() const = 0;
    virtual void SetOutputGroup(int group) = 0;
    virtual DeviceSession& Session() = 0;
    virtual UiPort& Ui() = 0;
    // A window changed the master volumes outside the ribbon: the ribbon shows them again.
    virtual void MasterVolumesChanged() {}
};

using PageFactory = std::function<CPageBase*(PageShell& shell, QWidget* parent)>;
using ToolFactory = std::function<CToolWindowBase*(PageShell& shell, QWidget* parent)>;

class PageRegistry
{
public:
    static PageRegistry& Instance()
    {
        static PageRegistry registry;
        return registry;
    }
    void RegisterPage(PageKind kind, PageFactory factory)
    {
        pages_[static_cast<size_t>(kind)] = std::move(factory);
    }
    void RegisterTool(ToolKind kind, ToolFactory factory)
    {
        tools_[static_cast<size_t>(kind)] = std::move(factory);
    }
    const PageFactory& Page(PageKind kind) const { return pages_[static_cast<size_t>(kind)]; }
    const ToolFactory& Tool(ToolKind kind) const { return tools_[static_cast<size_t>(kind)]; }

private:
    std::array<PageFactory, kPageKindCount> pages_;
    std::array<ToolFactory, kToolKindCount> tools_;
};

// A static object of this type in a page's source file plugs the page in.
struct PageRegistration
{
    PageRegistration(PageKind kind, PageFactory factory)
    {
        PageRegistry::Instance().RegisterPage(kind, std::move(factory));
    }
    PageRegistration(ToolKind kind, ToolFactory factory)
    {
        PageRegistry::Instance().RegisterTool(kind, std::move(factory));
    }
};
