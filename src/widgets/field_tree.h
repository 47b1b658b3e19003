// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bitset>

#include "host/field_catalog.h"

class QTreeWidget;

// The field catalog shown in a tree view: a heading per group and a child per
// field. Nodes are counted by absolute index, headings and children together
// in the order they appear from the top.
namespace vistrel::widgets {

// Fills the empty `tree` (see host::fieldTreeNodes for the order and the
// exclusions). `nodeMap` receives the absolute index of each catalog
// position's node, -1 for the positions left out. Each child keeps its
// catalog position in Qt::UserRole.
void AddFieldTree(QTreeWidget* tree, std::bitset<16> excludedGroups, std::bitset<32> excludedKinds,
                  std::array<int, host::kFieldCount>* nodeMap);

// Makes the node with absolute index `index` the selected and current node
// and gives the tree the focus; an index outside the tree does nothing.
void SelectTreeNode(QTreeWidget* tree, int index);

}  // namespace vistrel::widgets
