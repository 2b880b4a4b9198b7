// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/domain_tree_model.h"

#include <array>

#include "list/domain_tree.h"
#include "ui/cell_text.h"
#include "ui/row_icons.h"

namespace lt {

DomainTreeModel::DomainTreeModel(const DomainTree& tree, QObject* parent) : QAbstractItemModel(parent), m_tree(tree)
{
    Reload();
}

void DomainTreeModel::Reload()
{
    beginResetModel();
    m_rowInParent.assign(m_tree.Size(), 0);
    const auto& roots = m_tree.Roots();
    for (std::size_t i = 0; i < roots.size(); ++i)
        m_rowInParent[static_cast<std::size_t>(roots[i])] = static_cast<int>(i);
    for (const DomainNode& node : m_tree.Nodes()) {
        for (std::size_t i = 0; i < node.children.size(); ++i)
            m_rowInParent[static_cast<std::size_t>(node.children[i])] = static_cast<int>(i);
    }
    endResetModel();
}

int DomainTreeModel::NodeOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex DomainTreeModel::IndexOfNode(int node) const
{
    if (node < 0 || node >= static_cast<int>(m_rowInParent.size()))
        return {};
    return createIndex(m_rowInParent[static_cast<std::size_t>(node)], 0, static_cast<quintptr>(node));
}

QModelIndex DomainTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const int parentNode = NodeOf(parent);
    if (parentNode >= static_cast<int>(m_rowInParent.size()))
        return {};
    const std::vector<int>& children = parentNode < 0 ? m_tree.Roots() : m_tree.Node(parentNode).children;
    if (row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex DomainTreeModel::parent(const QModelIndex& child) const
{
    const int node = NodeOf(child);
    if (node < 0 || node >= static_cast<int>(m_rowInParent.size()))
        return {};
    return IndexOfNode(m_tree.Node(node).parent);
}

int DomainTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const int node = NodeOf(parent);
    if (node >= static_cast<int>(m_rowInParent.size()))
        return 0;
    if (node < 0)
        return m_rowInParent.empty() ? 0 : static_cast<int>(m_tree.Roots().size());
    return static_cast<int>(m_tree.Node(node).children.size());
}

int DomainTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant DomainTreeModel::data(const QModelIndex& index, int role) const
{
    const int node = NodeOf(index);
    if (node < 0 || node >= static_cast<int>(m_rowInParent.size()))
        return {};
    const DomainNode& n = m_tree.Node(node);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return DecodeBytes(n.label);
    case Qt::DecorationRole: {
        // One icon that shows the selected image while the folder is selected.
        static std::array<QIcon, 9> combined;
        const int normal = n.image >= 0 && n.image <= 2 ? n.image : 0;
        const int selected = n.selectedImage >= 0 && n.selectedImage <= 2 ? n.selectedImage : 1;
        QIcon& icon = combined[static_cast<std::size_t>(normal * 3 + selected)];
        if (icon.isNull()) {
            icon.addPixmap(FolderIcon(normal).pixmap(16, 16), QIcon::Normal);
            icon.addPixmap(FolderIcon(selected).pixmap(16, 16), QIcon::Selected);
        }
        return icon;
    }
    default: return {};
    }
}

Qt::ItemFlags DomainTreeModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QIcon DomainTreeModel::FolderIcon(int image)
{
    static std::array<QIcon, 3> cache;
    if (image < 0 || image > 2)
        image = kIconFolderClosed;
    QIcon& icon = cache[static_cast<std::size_t>(image)];
    if (icon.isNull()) {
        static const char* const kNames[] = {":/icons/ico_foldcl.svg", ":/icons/ico_foldup.svg",
                                             ":/icons/ico_line.svg"};
        RowIcon(0); // registers the compiled-in icons
        icon = QIcon(QLatin1String(kNames[image]));
    }
    return icon;
}

} // namespace lt
