// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/job_control.h"
#include "core/startup_state.h"
#include "core/status_bar.h"
#include "core/ui_port.h"
#include "export/export_settings.h"
#include "inet/inet_slot.h"
#include "list/domain_tree.h"
#include "list/find_in_list.h"
#include "list/list_state.h"
#include "list/result_list.h"
#include "list/sort_command.h"
#include "search/char_tables.h"
#include "search/scan_params.h"
#include "search/search_settings.h"
#include "search/search_state.h"
#include "sources/browser_list_state.h"
#include "sources/sources_state.h"
#include "store/options.h"

namespace lt {

// The process-wide single instances, created once by main (or by a test) and passed by reference.
// There are no mutable globals: everything a Part shares lives here.
struct AppState
{
    explicit AppState(UiPort& port) : ui(port), status(port) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;
    ~AppState() { JoinWorker(*this); }

    UiPort& ui;
    JobControl jobs;
    StatusBar status;
    StartupState startup;
    SearchSettings settings;
    KindAnchors anchors;
    FilterWords filterWords;
    ScanParams scan;
    Options options;
    ExportSettings exportSettings;
    CharTables tables;
    SearchState search;
    ResultList list;
    ListState listState;
    SourcesState sources;
    // A second list used by the file-list search (the paths to scan) and the domain view.
    ResultList secondList;
    // What the registry and preference lists remember for writing back.
    BrowserListState browserLists;
    // Sort flags, find settings and the domain view (declared last: the view waits for its fills).
    SortState sorting;
    FindState find;
    DomainState domain;
    // The internet jobs' records (slot 0 the crawler).
    InetSlotTable inetSlots;
};

} // namespace lt
