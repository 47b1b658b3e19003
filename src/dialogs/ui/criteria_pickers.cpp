// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/criteria_pickers.h"

#include "dialogs/ui/frm_filter_popup.h"
#include "dialogs/ui/frm_flt_status.h"
#include "dialogs/ui/frm_flt_today.h"
#include "dialogs/ui/frm_flt_type.h"
#include "dialogs/ui/frm_time_popup.h"
#include "filter/ui/frm_flt_set_cat.h"
#include "host/text.h"

namespace vistrel::dialogs {
namespace {

ConditionPick answer(std::optional<std::string> text, bool disregards = false) {
  if (!text) return {ConditionPick::Outcome::kCancelled, {}, false};
  return {ConditionPick::Outcome::kChosen, std::move(*text), disregards};
}

}  // namespace

std::optional<std::string> CriteriaPickers::pickField(QWidget* parent, std::string_view currentField) {
  return TfrmFilterPopup::execute(currentField, parent);
}

ConditionPick CriteriaPickers::pickCondition(QWidget* parent, ConditionPicker kind, std::string_view condition,
                                             const PickerContext& context) {
  switch (kind) {
    case ConditionPicker::kNone: return {};
    case ConditionPicker::kEventType: return answer(TfrmFltType::execute(condition, parent));
    case ConditionPicker::kEventStatus: return answer(TfrmFltStatus::execute(condition, parent));
    case ConditionPicker::kLetterType: return answer(Tfrmfltlettertype::execute(condition, parent));
    case ConditionPicker::kDate: {
      auto date = Tfrmflttoday::execute(condition, context.dates, parent);
      if (!date) return answer(std::nullopt);
      return answer(std::move(date->text), date->disregard);
    }
    case ConditionPicker::kTime:
      return answer(TfrmTimePopup::execute(condition, *context.dates.clock, context.dates.locale, parent));
    case ConditionPicker::kCategory: {
      filter::Tfrmfltsetcat dialog(QString::fromStdString(std::string(host::utf8Left(condition, kMaxConditionLength))),
                                   context.categories, parent);
      if (dialog.exec() != QDialog::Accepted) return answer(std::nullopt);
      return answer(dialog.expression().toStdString());
    }
  }
  return {};
}

}  // namespace vistrel::dialogs
