// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/criteria_pickers.h"

#include <QInputDialog>
#include <QStringList>

#include "filter/ui/frm_flt_set_cat.h"
#include "host/field_catalog.h"
#include "host/text.h"

namespace vistrel::dialogs {

// Until the field tree exists, a plain list of the fields it offers.
std::optional<std::string> CriteriaPickers::pickField(QWidget* parent, std::string_view currentField) {
  QStringList items;
  int current = 0;
  for (const host::FieldTreeNode& node : host::fieldTreeNodes({}, {})) {
    if (node.heading) continue;
    if (host::equalsIgnoreCase(host::FieldCatalog()[static_cast<std::size_t>(node.position)].label, currentField)) {
      current = static_cast<int>(items.size());
    }
    items << QString::fromStdString(node.text);
  }
  bool ok = false;
  const QString chosen =
      QInputDialog::getItem(parent, QStringLiteral("Select a field"), QStringLiteral("&Field"), items, current, false, &ok);
  if (!ok) return std::nullopt;
  return chosen.toStdString();
}

ConditionPick CriteriaPickers::pickCondition(QWidget* parent, ConditionPicker kind, std::string_view condition,
                                             const filter::CategoryNames& categories) {
  if (kind != ConditionPicker::kCategory) return {};
  filter::Tfrmfltsetcat dialog(QString::fromStdString(std::string(host::utf8Left(condition, kMaxConditionLength))),
                               categories, parent);
  if (dialog.exec() != QDialog::Accepted) return {ConditionPick::Outcome::kCancelled, {}, false};
  return {ConditionPick::Outcome::kChosen, dialog.expression().toStdString(), false};
}

}  // namespace vistrel::dialogs
