#include "i18n/DialogTexts.h"

#include "i18n/Language.h"
#include "i18n/LanguageResources.h"
#include "i18n/LanguageTable.h"

#include <memory>
#include <mutex>

namespace {
std::mutex g_tableLock;
std::shared_ptr<const LanguageTable> g_table; // guarded by g_tableLock

std::shared_ptr<const LanguageTable> CurrentTable()
{
    {
        std::lock_guard lock(g_tableLock);
        if (g_table) {
            return g_table;
        }
    }
    LoadLanguageTable();
    std::lock_guard lock(g_tableLock);
    return g_table;
}
} // namespace

bool LoadLanguageTable()
{
    const auto bytes = LanguageResource(CurrentLanguage());
    auto table = std::make_shared<const LanguageTable>(LanguageTable::FromGbk(bytes));
    const bool loaded = table->Size() > 0;
    std::lock_guard lock(g_tableLock);
    g_table = std::move(table);
    return loaded;
}

bool SwitchLanguage()
{
    SetLanguage(1 - CurrentLanguage());
    return LoadLanguageTable();
}

std::string DialogTitleText(int dialogId)
{
    return CurrentTable()->Title(dialogId);
}

std::string DialogCaptionText(int dialogId, int controlId)
{
    return CurrentTable()->Caption(dialogId, controlId);
}

void ApplyLanguage(int dialogId, std::string& title, std::span<DialogCaption> captions)
{
    const auto table = CurrentTable(); // one table for the whole window
    if (std::string text = table->Title(dialogId); !text.empty()) {
        title = std::move(text);
    }
    for (DialogCaption& caption : captions) {
        if (std::string text = table->Caption(dialogId, caption.controlId); !text.empty()) {
            caption.text = std::move(text);
        }
    }
}
