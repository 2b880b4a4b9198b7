// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QHeaderView;
class QWidget;

namespace lt {

struct AppState;

// Where the job windows keep their rectangle and list column widths between openings (and, with
// "save window positions", in the INI file): left, top, right, bottom, 0, then the widths.
inline constexpr const char* kCrawlWindowRecord = "WPS02";
inline constexpr const char* kStatusWindowRecord = "WPS03";
inline constexpr const char* kBatchDownloadWindowRecord = "WPS04";

// `rect` shrunk to the screen and moved onto it when it lies outside: a place saved on a larger
// screen must not leave a window out of reach.
QRect KeepOnScreen(QRect rect);

// Puts `window` where the record says (kept on the screen) and sizes the list's columns; a missing
// or implausible record leaves the window as it is.
void RestoreJobWindowPlace(const AppState& app, const char* key, QWidget& window, QHeaderView& columns);
void StoreJobWindowPlace(AppState& app, const char* key, const QWidget& window, const QHeaderView& columns);
// Stores the place of every job window of `owner` still open: closing the main window destroys
// them without their own close.
void StoreOpenJobWindowPlaces(AppState& app, const QWidget& owner);

} // namespace lt
