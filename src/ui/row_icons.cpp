// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/row_icons.h"

#include <QString>

#include <array>
#include <mutex>

// The icons are compiled into the static UI library; the linker keeps them only when asked.
static void InitIconResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(icons); });
}

namespace lt {

namespace {

QIcon Shipped(const char* name)
{
    InitIconResources();
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg"));
}

QIcon Themed(const char* themeName, const char* shipped)
{
    const QString theme = QLatin1String(themeName);
    if (!theme.isEmpty() && QIcon::hasThemeIcon(theme))
        return QIcon::fromTheme(theme);
    return Shipped(shipped);
}

} // namespace

QIcon RowIcon(int index)
{
    static const std::array<const char*, kStandardRowIcons> kNames = {
        "ico_foldcl", "ico_line", "ico_txt", "ico_zip", "ico_exe",  "ico_image", "ico_js",  "ico_avi", "ico_wav",
        "ico_bin",    "ico_font", "ico_dll", "ico_del", "ico_asp",  "ico_bat",   "ico_jpg", "ico_bmp", "ico_cpp"};
    static std::array<QIcon, kStandardRowIcons> cache;
    if (index < 0 || index >= kStandardRowIcons)
        index = 1;
    QIcon& icon = cache[static_cast<std::size_t>(index)];
    if (icon.isNull())
        icon = Shipped(kNames[static_cast<std::size_t>(index)]);
    return icon;
}

QIcon StatusIconFor(StatusIcon icon)
{
    switch (icon) {
    case StatusIcon::Passed0: return Shipped("passed0");
    case StatusIcon::Passed1: return Shipped("passed1");
    case StatusIcon::Connect: return Shipped("connect");
    case StatusIcon::Error: return Shipped("erricon");
    case StatusIcon::None: break;
    }
    return {};
}

QIcon CommandIcon(int id)
{
    switch (id) {
    case 1400: return Themed("document-open", "tb_open_files");
    case 1405: return Themed("folder-open", "tb_open_folder");
    case 1412: return Themed("network-workgroup", "tb_internet_file");
    case 1455: return Themed("document-open-recent", "tb_recent_cache");
    case 1454: return Themed("bookmark-new", "tb_favorites");
    case 1410: return Themed("edit-paste", "tb_clipboard");
    case 1414: return Themed("insert-link", "tb_base_url");
    case 1502: return Themed("", "tb_parse");
    case 1415: return Themed("", "tb_search_options");
    case 1420: return Themed("document-save", "tb_save_text");
    case 1422: return Themed("edit-copy", "tb_copy");
    case 1434: return Themed("document-print", "tb_print");
    case 4221: return Themed("", "tb_save_html");
    case 1440: return Themed("edit-find", "tb_find");
    case 1453: return Themed("", "tb_domains");
    case 1445: return Themed("", "tb_resize");
    case 1456: return Themed("preferences-system", "tb_options");
    case 1450: return Themed("window-new", "tb_new_window");
    case 1451: return Themed("", "tb_text_window");
    case 1452: return Themed("edit-clear", "tb_clear");
    case 1460: return Themed("process-stop", "tb_stop");
    case 1465: return Themed("media-skip-forward", "tb_skip");
    case 1471: return Themed("application-exit", "tb_exit");
    case 6200: return Themed("document-open", "tb_open_files");
    case 6202: return Themed("document-save-as", "tb_save_text");
    case 6204: return Themed("edit-find", "tb_find");
    case 6206: return Themed("format-justify-left", "ico_line");
    case 6208: return Themed("preferences-desktop-font", "ico_font");
    case 6210: return Themed("process-stop", "tb_stop");
    case 6212: return Themed("view-refresh", "tb_internet_file");
    default: return {};
    }
}

QIcon BrowserIcon(int browser)
{
    switch (browser) {
    case 0: return Shipped("ico_msie");
    case 1: return Shipped("ico_netscape");
    case 2: return Shipped("ico_opera");
    default: return {};
    }
}

QIcon AppIcon()
{
    return Shipped("linktrawl");
}

} // namespace lt
