#include "link/controller/AccessHint.h"

#include "i18n/Language.h"

namespace {
constexpr TextPair kCaption = {"无法打开处理器", "Can't open the processor"};
constexpr TextPair kText = {
    "处理器已插上，但当前用户没有打开它的权限（%s）。\n"
    "请安装 dsp4620 软件包，或把它的 udev 规则 60-dsp4620.rules 复制到 /etc/udev/rules.d，"
    "然后拔下处理器再重新插上。",
    "The processor is plugged in, but this user has no permission to open it (%s).\n"
    "Install the dsp4620 package, or copy its udev rule 60-dsp4620.rules to "
    "/etc/udev/rules.d, then unplug the processor and plug it in again."};
} // namespace

std::string AccessDeniedCaption(int language)
{
    return kCaption[language];
}

std::string AccessDeniedText(const std::string& path, int language)
{
    std::string text = kText[language];
    const size_t at = text.find("%s");
    return text.replace(at, 2, path);
}
