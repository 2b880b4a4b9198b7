// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The numbers of the main window's commands (menus, toolbar, keys, context menus). The numbers are
// stable: the command table, the window's routing and the performers in ui/commands/ all use these
// names. Where one menu text repeats, the name carries its menu ("Edit Typed Urls" > "Internet
// Explorer" is kCmdTypedUrlsIe).
namespace lt {

// File: search sources.
inline constexpr int kCmdSelectFiles = 1400;
inline constexpr int kCmdReopenFirst = 1600; // "&Reopen" entries, one per remembered file
inline constexpr int kCmdReopenLast = 1606;
inline constexpr int kCmdSelectDirectory = 1405;
inline constexpr int kCmdSearchFavorites = 1454;
inline constexpr int kCmdReadClipboard = 1410;
inline constexpr int kCmdReadInternetFile = 1412;
inline constexpr int kCmdExtractByBaseUrl = 1414;
inline constexpr int kCmdFilesLast8Minutes = 5201;
inline constexpr int kCmdIeCacheLastHour = 1455;
inline constexpr int kCmdRecentLinks = 5202;
inline constexpr int kCmdSearchOptions = 1415;
inline constexpr int kCmdStop = 1460;
inline constexpr int kCmdSkipFile = 1465;
inline constexpr int kCmdNewWindow = 1450;
inline constexpr int kCmdTextWindow = 1451;
inline constexpr int kCmdExit = 1471;

// List: export, print, bookmarks, columns.
inline constexpr int kCmdSaveListAs = 1420;
inline constexpr int kCmdSaveListHtml = 4221;
inline constexpr int kCmdCopyList = 1422;
inline constexpr int kCmdPrintList = 1434;
inline constexpr int kCmdPrinterFont = 1435;
inline constexpr int kCmdListBookmarksIe = 1512;
inline constexpr int kCmdListBookmarksNetscape = 1511;
inline constexpr int kCmdListBookmarksOpera = 1513;
inline constexpr int kCmdResizeColumns = 1445;

// Edit: finding and list edits.
inline constexpr int kCmdFind = 1440;
inline constexpr int kCmdFindNext = 1515;
inline constexpr int kCmdFindPrevious = 1516;
inline constexpr int kCmdReplaceText = 1501;
inline constexpr int kCmdRemoveDupes = 1500;
inline constexpr int kCmdUnescapeUrls = 4223;
inline constexpr int kCmdCutParameters = 4225;
inline constexpr int kCmdClearResults = 1452;

// Sort and hit rates.
inline constexpr int kCmdSortLength = 1551;
inline constexpr int kCmdSortEnding = 1552;
inline constexpr int kCmdSortFileNumber = 1553;
inline constexpr int kCmdSortRemoteNumber = 1554;
inline constexpr int kCmdSortSymbol = 1555;
inline constexpr int kCmdHitRatesOverAll = 1439;
inline constexpr int kCmdHitRatesColumnFirst = 5800; // "Per &Column": kCmdHitRatesColumnFirst + column
inline constexpr int kCmdHitRatesColumnLast = 5808;

// Domains.
inline constexpr int kCmdBuildDomains = 1480;
inline constexpr int kCmdToggleView = 1544;
inline constexpr int kCmdRebuildDomainsAfterSearch = 1545;
inline constexpr int kCmdBuildOrToggleDomains = 1453;
// The domain tree's menu (and the toolbar's Copy and Save while the domain view is shown).
inline constexpr int kCmdCopyFolder = 1482;
inline constexpr int kCmdSaveFolder = 1484;

// File List.
inline constexpr int kCmdCreateFileList = 1474;
inline constexpr int kCmdFileListFromText = 1477;
inline constexpr int kCmdSearchFileList = 1478;
inline constexpr int kCmdCompareListToDisk = 1475;
inline constexpr int kCmdMultiunzipBatch = 1476;
inline constexpr int kCmdParseTextFiles = 1502;

// Internet.
inline constexpr int kCmdGenerateUrls = 1503;
inline constexpr int kCmdDownloadFile = 2100;
inline constexpr int kCmdBatchDownload = 2110;
inline constexpr int kCmdReadInternetFiles = 2112;
inline constexpr int kCmdTestUrlStatus = 2114;

// Misc: browser data and tools.
inline constexpr int kCmdTypedUrlsIe = 1490;
inline constexpr int kCmdTypedUrlsNetscape = 1494;
inline constexpr int kCmdHistoryIe = 5100;
inline constexpr int kCmdHistoryNetscape = 5140;
inline constexpr int kCmdEditAboutUrls = 1492;
inline constexpr int kCmdRasAutodial = 1493;
inline constexpr int kCmdCookiesIndexFile = 5190;
inline constexpr int kCmdCookiesTextFiles = 5191;
inline constexpr int kCmdHistoryIndexFile = 5180;
inline constexpr int kCmdNetscapeHistoryFile = 5160;
inline constexpr int kCmdJoinIeDownloads = 5194;
inline constexpr int kCmdReduceHtmlFiles = 5196;
inline constexpr int kCmdFilesInUse = 5200;

// Options, search settings, sessions, help.
inline constexpr int kCmdEditOptions = 1456;
inline constexpr int kCmdSettingsSaveAs = 5410;
inline constexpr int kCmdSettingsSaveNow = 5400;
inline constexpr int kCmdSettingsLoad = 5420;
inline constexpr int kCmdSessionSaveAs = 1530;
inline constexpr int kCmdSessionLoad = 1531;
inline constexpr int kCmdSessionAppend = 1532;
inline constexpr int kCmdHelp = 1540;
inline constexpr int kCmdAbout = 1542;

// The row context menu.
inline constexpr int kCmdLaunchRow = 4210;
inline constexpr int kCmdSaveToIeTyped = 4202;
inline constexpr int kCmdSaveToNetscapeTyped = 4206;
inline constexpr int kCmdCopySelected = 4190;
inline constexpr int kCmdSaveSelectedText = 4170;
inline constexpr int kCmdSaveSelectedHtml = 4222;
inline constexpr int kCmdPrintSelected = 4180;
inline constexpr int kCmdOpenInNewWindow = 4122;
inline constexpr int kCmdSelectedBookmarksIe = 4240;
inline constexpr int kCmdSelectedBookmarksNetscape = 4230;
inline constexpr int kCmdSelectedBookmarksOpera = 4250;
inline constexpr int kCmdUnescapeSelected = 4224;
inline constexpr int kCmdCutParametersSelected = 4226;
inline constexpr int kCmdDeleteUrlFiles = 4138;
inline constexpr int kCmdDeleteFromIndexFile = 4134;
inline constexpr int kCmdDeleteFromRegistry = 4136;
inline constexpr int kCmdSelectAllWith = 4150;
inline constexpr int kCmdSelectAll = 4160;
inline constexpr int kCmdDeleteAllWith = 4132;
inline constexpr int kCmdAssociatedViewer = 4220;
inline constexpr int kCmdSendToFirst = 4300; // "Send &File to" entries
inline constexpr int kCmdSendToLast = 4318;
inline constexpr int kCmdCopyFilesTo = 5460;
inline constexpr int kCmdCopyFilesWithPathTo = 5462;
inline constexpr int kCmdEditListEntry = 4120;
inline constexpr int kCmdSaveSelectedCsv = 4216;
inline constexpr int kCmdReadInNewWindow = 1703;
inline constexpr int kCmdLoadSource = 1704;

// The text window's toolbar and its pane's menu.
inline constexpr int kCmdTextOpenFile = 6200;
inline constexpr int kCmdTextSaveAs = 6202;
inline constexpr int kCmdTextFind = 6204;
inline constexpr int kCmdTextWordBreak = 6206;
inline constexpr int kCmdTextFont = 6208;
inline constexpr int kCmdTextStop = 6210;
inline constexpr int kCmdTextReload = 6212;
inline constexpr int kCmdPaneCopy = 1422;
inline constexpr int kCmdPastePane = 1423;
inline constexpr int kCmdPaneCut = 1424;
inline constexpr int kCmdPaneUndo = 1425;

} // namespace lt
