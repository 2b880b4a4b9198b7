// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

struct AppState;
struct ResultRow;
class SortSnapshot;

// The three images of the tree, in this order.
enum DomainIcon : int { kIconFolderClosed = 0, kIconFolderOpen = 1, kIconLine = 2 };

// A folder of the domain tree. The tree holds folders only; `firstRow` is the index in the result
// list of the first row of the folder's run and `rowEnd` one past its last row, as built.
struct DomainNode
{
    std::string label;
    int parent = -1;
    std::vector<int> children;
    uint32_t firstRow = 0;
    uint32_t rowEnd = 0;
    int image = kIconFolderClosed;
    int selectedImage = kIconFolderOpen;
    bool expanded = false;
};

// A plain tree of folders under the roots "Ftp", "Http" and "Https" (each present only when such
// rows exist), as the view shows it. Built and read on the window thread.
class DomainTree
{
public:
    const std::vector<DomainNode>& Nodes() const { return m_nodes; }
    const DomainNode& Node(int node) const { return m_nodes[node]; }
    DomainNode& Node(int node) { return m_nodes[node]; }
    const std::vector<int>& Roots() const { return m_roots; }
    std::size_t Size() const { return m_nodes.size(); }
    bool Empty() const { return m_nodes.empty(); }

    int AddNode(int parent, std::string label, uint32_t firstRow);
    void Clear();
    void ClearFolders();                        // keeps the roots
    int FindRoot(std::string_view label) const; // ignoring case; -1 when absent
    // All nodes in tree order (each node before its children, roots in their order).
    std::vector<int> TreeOrder() const;

private:
    std::vector<DomainNode> m_nodes;
    std::vector<int> m_roots;
};

// Where `prefix` ends in `text`, comparing without ASCII case and skipping '-' in either; 0 when
// the prefix is empty or does not match.
std::size_t PrefixEnd(std::string_view prefix, std::string_view text);
// The longest folder that `a` and `b` share (dashes and ASCII case ignored), as `a`'s bytes up to
// its last common "/" boundary; empty when there is none. A scheme alone is never a folder.
void CommonFolderPrefix(std::string_view a, std::string_view b, std::string& out);
// The folder path of a node: its ancestors' labels joined by "/", the root read as "http:/",
// "https:/" or "ftp:/".
void NodePath(const DomainTree& tree, int node, std::string& out);
// The label of a folder `prefix` under `parent`: what follows the parent's path and its "/".
void NodeLabel(const DomainTree& tree, int parent, std::string_view prefix, std::string& out);

// The state of one tree build.
struct DomainBuild
{
    DomainTree* tree = nullptr;
    const SortSnapshot* rows = nullptr;
    long last = 0; // index of the last row consumed
    int depth = 0;
    std::vector<std::string> lastFolder; // per depth: the folder inserted last
    std::size_t inserted = 0;            // never more folders than rows
};

// Builds the roots and their folders from the rows (column 0 of the result list, sorted by URL).
// With `refresh` and roots present the roots are kept and their folders rebuilt.
void BuildDomainTree(DomainTree& tree, const SortSnapshot& rows, bool refresh = false);
// Inserts the folders below `prefix` (recursive).
void BuildBranch(DomainBuild& build, int parent, int previous, const std::string& prefix);

// The rows a folder shows: the rows that begin with its path followed by "/" or the end and lie in
// none of its subfolders; when there is none, the folder's own first row.
struct FolderQuery
{
    std::string path;
    std::vector<std::string> subfolderPaths; // in tree order
    uint32_t firstRow = 0;
};
FolderQuery MakeFolderQuery(const DomainTree& tree, int node);
// The rows the folder shows, read from its run of the result list only; nothing when `superseded`
// says a newer selection has won while reading.
std::optional<std::vector<ResultRow>> CollectFolderRows(const AppState& app, const FolderQuery& q,
                                                        const std::function<bool()>& superseded);
// True when `text` lies in the folder `path` (comparing without ASCII case, skipping '-' and,
// with `skipApostrophes`, '\'').
bool LiesInFolder(std::string_view path, std::string_view text, bool skipApostrophes = false);

// The domain view's state. The folder fills run on numbered threads; only the fill of the newest
// selection may publish its rows.
struct DomainState
{
    DomainState() = default;
    DomainState(const DomainState&) = delete;
    DomainState& operator=(const DomainState&) = delete;
    ~DomainState(); // waits for running fills

    bool exists = false; // the tree and the folder list were created
    // The tree view is shown instead of the plain list; folder fills read it on their threads.
    std::atomic<bool> viewShown{false};
    bool treeFocus = false; // the tree should have the focus
    DomainTree tree;
    int selectedNode = -1;
    uint64_t treeRevision = 0; // raised whenever the tree changes

    // Set by a list job (the hit rates) that changed the rows while the view was shown; the window
    // calls RefreshDomainTree when the job has ended.
    std::atomic<bool> refreshPending{false};

    std::atomic<uint64_t> selectionSerial{0};
    std::mutex publishMutex;
    std::mutex fillMutex;
    std::condition_variable fillDone;
    int activeFills = 0;
};

// Window-thread commands of the domain view.
// "&Build domains": builds the tree from the result list and shows the root's folder. Returns false
// when it does nothing (a job runs, the item kind is not http/ftp, the list is empty).
bool BuildDomainsCommand(AppState& app);
// "&Toggle View": switches between the plain list and the tree view.
bool ToggleViewCommand(AppState& app);
// At the end of a search: rebuilds the tree when "&Rebuild domains after search" is on and the list
// holds search results, then shows the caption and the result message. Returns false (and shows
// nothing) when the option does not apply, so that the caller reports the result itself.
bool RebuildDomainsAfterSearch(AppState& app, long hitCount);
// Selecting a node: the folder list is filled on a numbered thread; a newer selection stops an
// older fill. Returns false when the thread could not start ("Too many threads !" is shown).
bool ShowFolder(AppState& app, int node);
// The fill itself, on the calling thread; publishes into the folder list when `serial` is still
// the newest selection (0: always). Returns the rows shown, or -1 when a newer selection won.
long FillFolderList(AppState& app, const FolderQuery& query, uint64_t serial);
// Rebuilds the folders under the present roots from the result list (after the hit rates, which
// change the rows) and shows the selected folder again. Window thread, no job running.
void RefreshDomainTree(AppState& app);
// Waits until every folder fill has ended.
void WaitForFolderFills(AppState& app);
// Find next/previous while the tree view is shown: searches the folder list, then the folders in
// tree order; "No items found !" after wrapping past the roots twice.
bool FindAcrossFolders(AppState& app, bool forward);

} // namespace lt
