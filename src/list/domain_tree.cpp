// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/domain_tree.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "core/app_state.h"
#include "core/status_bar.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "list/find_in_list.h"
#include "list/list_state.h"
#include "list/result_list.h"
#include "list/sort_orders.h"

namespace lt {

namespace {

constexpr std::size_t kMaxText = 259;
constexpr std::size_t kMinSubfolderPath = 9;
constexpr std::size_t kWaitCursorRows = 400;
constexpr long kRebuildMessageHits = 200;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i]))
            return false;
    }
    return true;
}

std::size_t PrefixEndSkipping(std::string_view prefix, std::string_view text, bool skipApostrophes)
{
    const auto skipped = [skipApostrophes](char c) { return c == '-' || (skipApostrophes && c == '\''); };
    std::size_t i = 0, j = 0;
    for (;;) {
        while (i < prefix.size() && skipped(prefix[i]))
            ++i;
        if (i == prefix.size())
            return j;
        while (j < text.size() && skipped(text[j]))
            ++j;
        if (j == text.size() || AsciiLower(prefix[i]) != AsciiLower(text[j]))
            return 0;
        ++i, ++j;
    }
}

std::string_view Cut(std::string_view text) { return text.substr(0, std::min(text.size(), kMaxText)); }

// The first row at or after `from` whose text begins with `prefix`, ignoring case; -1.
long FirstRowWithPrefix(const SortSnapshot& rows, std::string_view prefix, long from)
{
    for (long r = std::max(0L, from); r < static_cast<long>(rows.Size()); ++r) {
        if (StartsWithNoCase(rows.Cell(r), prefix))
            return r;
    }
    return -1;
}

// The common folder goes further than `prefix` into the text.
bool ReachesBeyond(std::string_view folder, std::string_view prefix)
{
    const std::size_t end = PrefixEnd(prefix, folder);
    return end > 0 && end < folder.size();
}

struct RootSpec
{
    const char* label;
    const char* prefix;
};
constexpr RootSpec kRoots[] = {{"Ftp", "ftp:"}, {"Http", "http:"}, {"Https", "https:"}};

SortSnapshot UrlSnapshot(const ResultList& list)
{
    SortSnapshot snapshot;
    list.ForEachRow([&](std::size_t, const ResultRow& row) { snapshot.Add(row.Cell(0), row.icon); });
    return snapshot;
}

// The root selected after a build: "Http", else "Https", else "Ftp".
int DefaultRoot(const DomainTree& tree)
{
    for (const char* label : {"Http", "Https", "Ftp"}) {
        const int root = tree.FindRoot(label);
        if (root >= 0)
            return root;
    }
    return -1;
}

std::vector<ColumnState> FolderListColumns(const ResultList& main)
{
    std::vector<ColumnState> columns = main.Columns();
    if (columns.size() > 3)
        columns.resize(3);
    return columns;
}

void RebuildFromList(AppState& app, bool refresh)
{
    DomainState& d = app.domain;
    const SortSnapshot snapshot = UrlSnapshot(app.list);
    BuildDomainTree(d.tree, snapshot, refresh);
    ++d.treeRevision;
    if (d.selectedNode < 0 || d.selectedNode >= static_cast<int>(d.tree.Size()) || !refresh)
        d.selectedNode = DefaultRoot(d.tree);
    if (d.selectedNode >= 0)
        d.tree.Node(d.selectedNode).expanded = true;
}

} // namespace

int DomainTree::AddNode(int parent, std::string label, uint32_t firstRow)
{
    DomainNode node;
    if (label.size() > kMaxText)
        label.resize(kMaxText);
    node.label = std::move(label);
    node.parent = parent;
    node.firstRow = firstRow;
    node.rowEnd = firstRow + 1;
    const int index = static_cast<int>(m_nodes.size());
    m_nodes.push_back(std::move(node));
    if (parent < 0)
        m_roots.push_back(index);
    else
        m_nodes[parent].children.push_back(index);
    return index;
}

void DomainTree::Clear()
{
    m_nodes.clear();
    m_roots.clear();
}

void DomainTree::ClearFolders()
{
    std::vector<DomainNode> roots;
    for (const int r : m_roots) {
        DomainNode node = m_nodes[r];
        node.children.clear();
        roots.push_back(std::move(node));
    }
    m_nodes = std::move(roots);
    for (std::size_t i = 0; i < m_roots.size(); ++i)
        m_roots[i] = static_cast<int>(i);
}

int DomainTree::FindRoot(std::string_view label) const
{
    for (const int r : m_roots) {
        if (Cp1252EqualsNoCase(m_nodes[r].label, label))
            return r;
    }
    return -1;
}

std::vector<int> DomainTree::TreeOrder() const
{
    std::vector<int> order;
    order.reserve(m_nodes.size());
    std::vector<int> stack(m_roots.rbegin(), m_roots.rend());
    while (!stack.empty()) {
        const int node = stack.back();
        stack.pop_back();
        order.push_back(node);
        const std::vector<int>& children = m_nodes[node].children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return order;
}

std::size_t PrefixEnd(std::string_view prefix, std::string_view text)
{
    return PrefixEndSkipping(prefix, text, false);
}

void CommonFolderPrefix(std::string_view a, std::string_view b, std::string& out)
{
    a = Cut(a), b = Cut(b);
    // The "/" after the scheme never makes a folder.
    std::size_t schemeSlash = std::string_view::npos;
    for (const char* scheme : {"http:", "https:", "ftp:"}) {
        const std::string_view s(scheme);
        if (StartsWithNoCase(a, s))
            schemeSlash = s.size();
    }
    std::size_t i = 0, j = 0;
    std::size_t boundary = std::string_view::npos;
    bool afterSlash = false;
    for (;;) {
        while (i < a.size() && a[i] == '-')
            ++i;
        while (j < b.size() && b[j] == '-')
            ++j;
        if (i == a.size() || j == b.size()) {
            if (i == a.size() && j < b.size() && b[j] == '/' && !afterSlash)
                boundary = i;
            break;
        }
        if (AsciiLower(a[i]) != AsciiLower(b[j]))
            break;
        if (a[i] == '/') {
            if (i != schemeSlash && !afterSlash)
                boundary = i;
            afterSlash = true;
        } else {
            afterSlash = false;
        }
        ++i, ++j;
    }
    if (boundary == std::string_view::npos)
        out.clear();
    else
        out.assign(a.substr(0, boundary));
}

void NodePath(const DomainTree& tree, int node, std::string& out)
{
    std::vector<int> chain;
    for (int n = node; n >= 0; n = tree.Node(n).parent)
        chain.push_back(n);
    out.clear();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const DomainNode& n = tree.Node(*it);
        if (n.parent < 0) {
            for (const char c : n.label)
                out.push_back(AsciiLower(c));
            out += ":/";
        } else {
            out += '/';
            out += n.label;
        }
    }
    if (!out.empty() && (out[0] == 'H' || out[0] == 'F'))
        out[0] = AsciiLower(out[0]);
}

void NodeLabel(const DomainTree& tree, int parent, std::string_view prefix, std::string& out)
{
    std::string path;
    NodePath(tree, parent, path);
    const std::size_t end = PrefixEnd(path, prefix);
    if (end > 0 && end < prefix.size() && prefix[end] == '/')
        out.assign(prefix.substr(end + 1));
    else
        out.assign(prefix);
    if (out.size() > kMaxText)
        out.resize(kMaxText);
}

void BuildBranch(DomainBuild& b, int parent, int previous, const std::string& prefix)
{
    const SortSnapshot& rows = *b.rows;
    const long n = static_cast<long>(rows.Size());
    ++b.depth;
    if (static_cast<int>(b.lastFolder.size()) <= b.depth)
        b.lastFolder.resize(b.depth + 1);
    const long start = FirstRowWithPrefix(rows, prefix, b.last);
    if (start < 0) {
        --b.depth;
        return;
    }
    std::string common, folder, label;
    for (long r = std::max(start, b.last); r < n && b.inserted <= static_cast<std::size_t>(n); ++r) {
        b.last = r;
        const std::string_view t = Cut(rows.Cell(r));
        const std::size_t end = t.empty() ? 0 : PrefixEnd(prefix, t);
        if (end == 0 || (end < t.size() && t[end] != '/')) {
            if (b.depth > 1)
                b.last = r - 1; // the row is the caller's
            break;
        }
        // The run: the rows after r that share a folder with it beyond the prefix.
        folder.clear();
        long k = r + 1;
        for (; k < n; ++k) {
            CommonFolderPrefix(t, rows.Cell(k), common);
            if (common.empty() || !ReachesBeyond(common, prefix))
                break;
            if (folder.empty() || common.size() < folder.size())
                folder = common;
        }
        if (k - r == 1 || folder.empty())
            continue;
        std::string& lastFolder = b.lastFolder[b.depth];
        if (Cp1252EqualsNoCase(folder, lastFolder))
            continue;
        const bool deeper = StartsWithNoCase(folder, lastFolder) && folder.size() > lastFolder.size() + 1;
        const int under = deeper ? parent : previous;
        NodeLabel(*b.tree, under, folder, label);
        const int node = b.tree->AddNode(under, label, static_cast<uint32_t>(r));
        b.tree->Node(node).rowEnd = static_cast<uint32_t>(k);
        ++b.inserted;
        lastFolder = folder;
        if (k - r > 2) {
            const std::string inner = folder;
            BuildBranch(b, node, node, inner);
            r = b.last;
        }
    }
    --b.depth;
}

void BuildDomainTree(DomainTree& tree, const SortSnapshot& rows, bool refresh)
{
    if (refresh && !tree.Roots().empty()) {
        tree.ClearFolders();
    } else {
        tree.Clear();
        for (const RootSpec& rootDef : kRoots) {
            const long first = FirstRowWithPrefix(rows, rootDef.prefix, 0);
            if (first >= 0)
                tree.AddNode(-1, rootDef.label, static_cast<uint32_t>(first));
        }
    }
    for (const RootSpec& rootDef : kRoots) {
        const int root = tree.FindRoot(rootDef.label);
        if (root < 0)
            continue;
        DomainBuild build;
        build.tree = &tree;
        build.rows = &rows;
        BuildBranch(build, root, root, rootDef.prefix);
        tree.Node(root).rowEnd = static_cast<uint32_t>(std::max<long>(build.last + 1, tree.Node(root).firstRow + 1));
    }
    const int http = tree.FindRoot("Http");
    if (http >= 0)
        tree.Node(http).expanded = true;
}

bool LiesInFolder(std::string_view path, std::string_view text, bool skipApostrophes)
{
    const std::size_t end = PrefixEndSkipping(path, text, skipApostrophes);
    return end > 0 && (end == text.size() || text[end] == '/');
}

FolderQuery MakeFolderQuery(const DomainTree& tree, int node)
{
    FolderQuery q;
    NodePath(tree, node, q.path);
    q.firstRow = tree.Node(node).firstRow;
    std::string sub;
    for (const int child : tree.Node(node).children) {
        NodePath(tree, child, sub);
        if (sub.size() >= kMinSubfolderPath)
            q.subfolderPaths.push_back(sub);
    }
    return q;
}

DomainState::~DomainState()
{
    std::unique_lock lock(fillMutex);
    fillDone.wait(lock, [this] { return activeFills == 0; });
}

namespace {

// Where a folder's run of rows begins: the folder's own first row as the tree was built, moved
// back over rows of the same folder above it; the top when the list has changed since.
std::size_t FolderRunStart(const ResultList& list, const FolderQuery& q)
{
    std::size_t first = q.firstRow;
    if (first >= list.RowCount() || !StartsWithNoCase(list.GetCell(first, 0), q.path))
        return 0;
    while (first > 0 && StartsWithNoCase(list.GetCell(first - 1, 0), q.path))
        --first;
    return first;
}


// Puts the rows into the folder list unless a newer selection has won. Returns the rows shown,
// or -1.
long PublishFolderRows(AppState& app, std::vector<ResultRow> shown, const std::function<bool()>& superseded)
{
    DomainState& d = app.domain;
    std::lock_guard lock(d.publishMutex);
    if (superseded())
        return -1;
    std::vector<ColumnState> columns = FolderListColumns(app.list);
    const std::vector<ColumnState> current = app.secondList.Columns();
    bool same = columns.size() == current.size();
    for (std::size_t c = 0; same && c < columns.size(); ++c)
        same = columns[c].header == current[c].header && columns[c].type == current[c].type;
    if (!same)
        app.secondList.SetColumns(std::move(columns));
    const long count = static_cast<long>(shown.size());
    app.secondList.Modify([&](std::vector<ResultRow>& rows) { rows.swap(shown); });
    app.secondList.SetFocusedRow(-1);
    return count;
}

} // namespace

std::optional<std::vector<ResultRow>> CollectFolderRows(const AppState& app, const FolderQuery& q,
                                                        const std::function<bool()>& superseded)
{
    std::vector<ResultRow> shown;
    bool started = false, stale = false;
    std::size_t sub = 0;
    std::size_t visited = 0;
    app.list.ForEachRowFrom(FolderRunStart(app.list, q), [&](std::size_t, const ResultRow& row) {
        // Checked now and then: the check is an atomic load, the rows are many.
        if ((++visited & 1023) == 0 && superseded()) {
            stale = true;
            return false;
        }
        const std::string_view t = row.Cell(0);
        if (!started) {
            if (!StartsWithNoCase(t, q.path))
                return true;
            started = true;
        }
        const std::size_t end = PrefixEnd(q.path, t);
        if (end == 0)
            return false; // the folder's rows have ended
        if (end < t.size() && t[end] != '/')
            return true;
        // Subfolders come in the rows' order: pass those that lie before this row.
        while (sub < q.subfolderPaths.size()) {
            if (LiesInFolder(q.subfolderPaths[sub], t, true))
                return true;
            if (Cp1252CompareNoCase(q.subfolderPaths[sub], t) < 0)
                ++sub;
            else
                break;
        }
        ResultRow copy;
        copy.cells = {row.Cell(0), row.Cell(1), row.Cell(2)};
        copy.icon = row.icon;
        copy.param = row.param;
        shown.push_back(std::move(copy));
        return true;
    });
    if (stale || superseded())
        return std::nullopt;
    if (shown.empty() && q.firstRow < app.list.RowCount()) {
        ResultRow own = app.list.Row(q.firstRow);
        own.selected = false;
        if (own.cells.size() > 3)
            own.cells.resize(3);
        shown.push_back(std::move(own));
    }
    return shown;
}

long FillFolderList(AppState& app, const FolderQuery& q, uint64_t serial)
{
    DomainState& d = app.domain;
    const std::function<bool()> superseded = [&] { return serial != 0 && d.selectionSerial.load() != serial; };
    std::optional<std::vector<ResultRow>> shown = CollectFolderRows(app, q, superseded);
    if (!shown)
        return -1;
    return PublishFolderRows(app, std::move(*shown), superseded);
}

bool ShowFolder(AppState& app, int node)
{
    DomainState& d = app.domain;
    if (node < 0 || node >= static_cast<int>(d.tree.Size()))
        return false;
    d.selectedNode = node;
    FolderQuery query = MakeFolderQuery(d.tree, node);
    const uint64_t serial = d.selectionSerial.fetch_add(1) + 1;
    {
        std::lock_guard lock(d.fillMutex);
        ++d.activeFills;
    }
    const auto finished = [&d] {
        std::lock_guard lock(d.fillMutex);
        --d.activeFills;
        d.fillDone.notify_all();
    };
    const int slot = StartNumberedThread(
        app,
        [query = std::move(query), serial, finished](AppState& a, JobParam) {
            const long shown = FillFolderList(a, query, serial);
            if (shown > 0 && a.domain.viewShown) {
                a.secondList.SetSelectedRows({0});
                a.secondList.SetFocusedRow(0);
                a.status.ShowRowCount(shown);
            }
            finished();
        },
        static_cast<int32_t>(serial));
    if (slot < 0) {
        finished();
        return false;
    }
    return true;
}

void WaitForFolderFills(AppState& app)
{
    DomainState& d = app.domain;
    std::unique_lock lock(d.fillMutex);
    d.fillDone.wait(lock, [&d] { return d.activeFills == 0; });
}

bool BuildDomainsCommand(AppState& app)
{
    DomainState& d = app.domain;
    if (app.jobs.Running() || app.settings.itemKind != kItemHttpFtp || app.list.RowCount() == 0)
        return false;
    const bool wait = app.list.RowCount() > kWaitCursorRows;
    if (wait)
        app.ui.SetWaitCursor(true);
    if (d.exists) {
        app.secondList.ClearRows();
        d.tree.Clear();
    }
    d.exists = true;
    d.selectedNode = -1;
    RebuildFromList(app, false);
    if (wait)
        app.ui.SetWaitCursor(false);
    if (d.selectedNode >= 0)
        ShowFolder(app, d.selectedNode);
    d.viewShown = true;
    d.treeFocus = true;
    return true;
}

bool ToggleViewCommand(AppState& app)
{
    DomainState& d = app.domain;
    if (app.jobs.Running())
        return false;
    if (d.viewShown) {
        d.viewShown = false;
        d.treeFocus = false;
        // The count pane showed the folder's rows.
        ShowRowCount(app);
        return true;
    }
    if (!d.exists || d.tree.Empty() || app.settings.itemKind != kItemHttpFtp)
        return false;
    d.viewShown = true;
    d.treeFocus = true;
    return true;
}

bool RebuildDomainsAfterSearch(AppState& app, long hitCount)
{
    const int kind = app.listState.kind;
    if (!app.options.rebuildDomainsAfterSearch || app.settings.itemKind != kItemHttpFtp ||
        (kind != kListFileSearch && kind != kListOldSession && kind != kListInetSaved && kind != kListInetRead))
        return false;
    DomainState& d = app.domain;
    d.exists = true;
    if (hitCount >= kRebuildMessageHits)
        app.status.SetStatusText("Rebuilding domains ... ", 1);
    d.selectedNode = -1;
    RebuildFromList(app, false);
    if (d.viewShown && d.selectedNode >= 0)
        ShowFolder(app, d.selectedNode);
    if (hitCount >= kRebuildMessageHits)
        app.status.ClearStatus(1);
    if (!app.search.searchCaption.empty())
        app.status.SetStatusText(app.search.searchCaption, 0);
    app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
    ReportResult(app, hitCount, false);
    return true;
}

void RefreshDomainTree(AppState& app)
{
    DomainState& d = app.domain;
    d.refreshPending.store(false);
    if (!d.exists)
        return;
    RebuildFromList(app, true);
    if (d.viewShown && d.selectedNode >= 0)
        ShowFolder(app, d.selectedNode);
}

bool FindAcrossFolders(AppState& app, bool forward)
{
    DomainState& d = app.domain;
    if (d.tree.Empty() || app.find.findText.empty())
        return false;
    WaitForFolderFills(app);
    if (FindInList(app, app.secondList, forward, true, true))
        return true;
    const std::vector<int> order = d.tree.TreeOrder();
    const long size = static_cast<long>(order.size());
    long pos = -1;
    for (long i = 0; i < size; ++i) {
        if (order[i] == d.selectedNode)
            pos = i;
    }
    if (pos < 0)
        pos = forward ? -1 : size;
    const std::function<bool()> never = [] { return false; };
    const int columnCount = static_cast<int>(FolderListColumns(app.list).size());
    int wraps = 0;
    for (;;) {
        pos += forward ? 1 : -1;
        if (pos >= size) {
            pos = 0;
            ++wraps;
        } else if (pos < 0) {
            pos = size - 1;
            ++wraps;
        }
        if (wraps >= 2)
            break;
        // Folders are searched before they are shown: only the folder with the hit is filled.
        const int node = order[pos];
        std::optional<std::vector<ResultRow>> rows = CollectFolderRows(app, MakeFolderQuery(d.tree, node), never);
        if (!rows)
            continue;
        const long n = static_cast<long>(rows->size());
        long hit = -1;
        for (long r = forward ? 0 : n - 1; r >= 0 && r < n && hit < 0; r += forward ? 1 : -1)
            if (RowMatches((*rows)[static_cast<std::size_t>(r)], app.find, columnCount))
                hit = r;
        if (hit < 0)
            continue;
        d.selectedNode = node;
        ++d.treeRevision;
        d.selectionSerial.fetch_add(1);
        PublishFolderRows(app, std::move(*rows), never);
        app.secondList.SetSelectedRows({static_cast<std::size_t>(hit)});
        app.secondList.SetFocusedRow(hit);
        return true;
    }
    ShowMessage(app, "No items found !", "LinkTrawl");
    return false;
}

} // namespace lt
