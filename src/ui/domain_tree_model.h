// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <vector>

namespace lt {

class DomainTree;

// The Qt model over the engine's folder tree. The tree is changed only on the window thread; the
// window calls Reload after every build or refresh.
class DomainTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit DomainTreeModel(const DomainTree& tree, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Starts over from the tree as it is now.
    void Reload();
    QModelIndex IndexOfNode(int node) const;
    // The node of an index, -1 for none.
    static int NodeOf(const QModelIndex& index);

    // The tree's images in their order: closed folder, open folder (the selected image), line.
    static QIcon FolderIcon(int image);

private:
    const DomainTree& m_tree;
    std::vector<int> m_rowInParent; // each node's place among its parent's children or the roots
};

} // namespace lt
