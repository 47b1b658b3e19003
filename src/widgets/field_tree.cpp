// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "widgets/field_tree.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace vistrel::widgets {

void AddFieldTree(QTreeWidget* tree, std::bitset<16> excludedGroups, std::bitset<32> excludedKinds,
                  std::array<int, host::kFieldCount>* nodeMap) {
  QTreeWidgetItem* heading = nullptr;
  for (const host::FieldTreeNode& node : host::fieldTreeNodes(excludedGroups, excludedKinds, nodeMap)) {
    const QString text = QString::fromStdString(node.text);
    if (node.heading) {
      heading = new QTreeWidgetItem(tree, QStringList(text));
      continue;
    }
    auto* item = new QTreeWidgetItem(heading, QStringList(text));
    item->setData(0, Qt::UserRole, node.position);
  }
}

void SelectTreeNode(QTreeWidget* tree, int index) {
  if (index < 0) return;
  QTreeWidgetItemIterator it(tree);
  for (int i = 0; *it != nullptr && i < index; ++i) ++it;
  if (*it == nullptr) return;
  tree->setCurrentItem(*it);
  (*it)->setSelected(true);
  tree->scrollToItem(*it);
  tree->setFocus();
}

}  // namespace vistrel::widgets
