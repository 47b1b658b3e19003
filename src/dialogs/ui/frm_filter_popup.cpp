// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_filter_popup.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/value_pickers_model.h"
#include "widgets/field_tree.h"

namespace vistrel::dialogs {

TfrmFilterPopup::TfrmFilterPopup(std::string_view fieldText, QWidget* parent)
    : QDialog(parent, Qt::Tool), tree_(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("frmFilterPopup"));
  setWindowTitle(QStringLiteral("Filter Popup Selection"));
  tree_->setObjectName(QStringLiteral("tvFields"));
  tree_->setHeaderHidden(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  auto* buttons = new QDialogButtonBox(this);
  btOK_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  btOK_->setObjectName(QStringLiteral("btOK"));
  btOK_->setDefault(true);
  auto* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("btCancel"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tree_);
  layout->addWidget(buttons);
  resize(320, 420);

  widgets::AddFieldTree(tree_, fieldPickerExcludedGroups(), fieldPickerExcludedKinds(), &nodeMap_);
  widgets::SelectTreeNode(tree_, fieldPickerPreselection(fieldText, nodeMap_));
  if (tree_->currentItem() != nullptr) nodeClicked(tree_->currentItem());

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { nodeClicked(item); });
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { nodeClicked(item); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { nodeDoubleClicked(item); });
}

std::optional<std::string> TfrmFilterPopup::execute(std::string_view fieldText, QWidget* parent) {
  TfrmFilterPopup picker(fieldText, parent);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return picker.chosenText();
}

std::string TfrmFilterPopup::chosenText() const {
  const QTreeWidgetItem* item = tree_->currentItem();
  return item == nullptr ? std::string() : item->text(0).toStdString();
}

// Headings are never chosen, so OK stays off on them from the start.
void TfrmFilterPopup::nodeClicked(QTreeWidgetItem* item) {
  btOK_->setEnabled(item != nullptr && item->parent() != nullptr);
}

void TfrmFilterPopup::nodeDoubleClicked(QTreeWidgetItem* item) {
  nodeClicked(item);
  if (btOK_->isEnabled()) accept();
}

}  // namespace vistrel::dialogs
