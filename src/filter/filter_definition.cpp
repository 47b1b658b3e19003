// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/filter_definition.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "filter/bool_expr.h"
#include "filter/relative_date.h"
#include "filter/sound_code.h"
#include "host/environment.h"
#include "host/host_lists.h"
#include "host/text.h"
#include "host/utility.h"

namespace vistrel::filter {
namespace {

constexpr std::size_t kPreparedLength = 40;
constexpr std::array<std::string_view, 11> kGroups = {"database", "field",    "condition", "value",
                                                      "casebox",  "yearbox",  "daybox",    "punctbox",
                                                      "openpara", "closepara", "and"};
enum Group { kDatabase, kField, kCondition, kValue, kCase, kYear, kDay, kPunct, kOpen, kClose, kAnd };

std::string criteria(int row) { return "Criteria " + std::to_string(row) + ": "; }

DefinitionFault fault(int row, DefinitionPart part, std::string message) {
  return DefinitionFault{row, part, std::move(message)};
}

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

// At most 30 characters of a line, for a message.
std::string excerpt(std::string_view text) {
  const std::string_view cut = host::utf8Left(text, 30);
  return inQuotes(std::string(cut) + (cut.size() < text.size() ? "..." : ""));
}

// A control character or a byte that is not UTF-8 in `text`, described.
std::optional<std::string> badByte(std::string_view text) {
  if (const std::size_t at = host::utf8InvalidOffset(text); at != std::string_view::npos) {
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(text[at]));
    return std::string("holds a byte that is not UTF-8 text (") + code + ")";
  }
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      return u == '\r' || u == '\n' ? std::string("holds a line break")
                                    : "holds a control character (code " + std::to_string(u) + ")";
    }
  }
  return std::nullopt;
}

// The groups of one line, read strictly: each keyword in its order followed
// by "(", the value with its parentheses balanced and ")", one blank apart,
// nothing after the last. A fault names what stands where a group should.
std::optional<DefinitionFault> readGroups(std::string_view line, int row, std::array<std::string, 11>& groups) {
  std::size_t pos = 0;
  for (std::size_t g = 0; g < kGroups.size(); ++g) {
    const std::string opening = (g == 0 ? "" : " ") + std::string(kGroups[g]) + "(";
    if (line.substr(pos, opening.size()) != opening) {
      std::string message = criteria(row) + "expected " + inQuotes(std::string(kGroups[g]) + "(") +
                            " where the line reads " + excerpt(line.substr(pos));
      if (g == kValue + 1) message += "; a \")\" in a value needs its \"(\"";
      return fault(row, g == kValue + 1 ? DefinitionPart::kValue : DefinitionPart::kLine, message);
    }
    pos += opening.size();
    int depth = 0;
    std::size_t end = pos;
    for (; end < line.size(); ++end) {
      if (line[end] == '(') ++depth;
      if (line[end] == ')' && depth-- == 0) break;
    }
    if (end >= line.size()) {
      if (g == kValue) {
        return fault(row, DefinitionPart::kValue,
                     criteria(row) + "the value " + excerpt(line.substr(pos)) + " has a \"(\" without its \")\"");
      }
      return fault(row, DefinitionPart::kLine, criteria(row) + "the group " + inQuotes(std::string(kGroups[g]) + "(") +
                                                   " is not closed");
    }
    groups[g] = std::string(line.substr(pos, end - pos));
    pos = end + 1;
  }
  if (pos != line.size()) {
    return fault(row, DefinitionPart::kLine, criteria(row) + "text after the last group: " + excerpt(line.substr(pos)));
  }
  return std::nullopt;
}

// The number a group holds, written as the writer writes it ("0", "12").
std::optional<int> plainNumber(std::string_view text) {
  if (text.empty() || text.size() > 4 || !std::all_of(text.begin(), text.end(), host::IsDigit)) return std::nullopt;
  if (text.size() > 1 && text[0] == '0') return std::nullopt;
  return host::SafeStrToInt(text);
}

std::string group(Group g, std::string_view value) { return std::string(kGroups[g]) + "(" + std::string(value) + ")"; }

// The numbers and flags of a line's groups, each as the writer gives them.
std::optional<DefinitionFault> readNumbers(const std::array<std::string, 11>& groups, int row, Criterion& c) {
  const auto condition = plainNumber(groups[kCondition]);
  if (!condition) {
    return fault(row, DefinitionPart::kRelation,
                 criteria(row) + group(kCondition, groups[kCondition]) + " is no relation number");
  }
  c.relation = static_cast<RelationCode>(*condition);
  bool* flags[] = {&c.caseSensitive, &c.noYear, &c.noDay, &c.ignorePunct};
  for (int g = kCase; g <= kPunct; ++g) {
    const std::string& text = groups[static_cast<std::size_t>(g)];
    if (text != "TRUE" && text != "FALSE") {
      return fault(row, DefinitionPart::kLine,
                   criteria(row) + group(static_cast<Group>(g), text) + " is neither TRUE nor FALSE");
    }
    *flags[g - kCase] = text == "TRUE";
  }
  for (const Group g : {kOpen, kClose}) {
    const auto count = plainNumber(groups[g]);
    if (!count || *count > kMaxParentheses) {
      return fault(row, DefinitionPart::kLine,
                   criteria(row) + group(g, groups[g]) + " is not a count of 0 to 5 parentheses");
    }
    (g == kOpen ? c.open : c.close) = *count;
  }
  const auto connector = plainNumber(groups[kAnd]);
  if (!connector || *connector > 2) {
    return fault(row, DefinitionPart::kLine, criteria(row) + group(kAnd, groups[kAnd]) +
                                                 " is none of 0 (no further criterion), 1 (And) and 2 (Or)");
  }
  c.connector = *connector;
  return std::nullopt;
}

std::string fieldName(const Criterion& c) {
  return host::FieldCatalog()[static_cast<std::size_t>(c.field)].label;
}

bool isFilterField(int position) {
  if (position < 0 || position >= host::kUndefinedField) return false;
  const auto table = host::FieldCatalog()[static_cast<std::size_t>(position)].table;
  return table == host::kContactTable || table == host::kEventTable;
}

// The field of a criterion and the relation it uses.
std::optional<DefinitionFault> checkFieldAndRelation(std::string_view label, int row, Criterion& c) {
  c.field = host::FindFieldByLabel(label);
  if (host::IsBlank(label)) return fault(row, DefinitionPart::kField, criteria(row) + "no field is named");
  if (c.field == host::kUndefinedField) {
    return fault(row, DefinitionPart::kField, criteria(row) + "there is no field " + inQuotes(label));
  }
  if (!isFilterField(c.field) || fieldKindInfo(c.field).relations.empty()) {
    return fault(row, DefinitionPart::kField,
                 criteria(row) + "the field " + fieldName(c) +
                     " is no contact or event field; it cannot be used in a filter");
  }
  if (findRelation(static_cast<int>(c.relation)) == nullptr) {
    return fault(row, DefinitionPart::kRelation,
                 "A field and a condition are necessary for criteria " + std::to_string(row));
  }
  if (!offersRelation(fieldKindInfo(c.field), c.relation)) {
    return fault(row, DefinitionPart::kRelation,
                 criteria(row) + "the relation " + inQuotes(RelationToString(c.relation)) + " is not offered for " +
                     fieldName(c));
  }
  return std::nullopt;
}

// Whether `text` reads as a number with the locale's decimal mark or,
// failing that, with its first comma and period swapped, as the evaluation
// reads it.
bool readsAsNumber(std::string_view text, const host::Locale& locale) {
  if (host::parseNumber(text, locale)) return true;
  std::string swapped(text);
  if (const auto comma = swapped.find(','); comma != std::string::npos) {
    swapped[comma] = '.';
  } else if (const auto period = swapped.find('.'); period != std::string::npos) {
    swapped[period] = ',';
  } else {
    return false;
  }
  return host::parseNumber(swapped, locale).has_value();
}

// The value of a criterion: present when its relation takes one, and one the
// evaluation can read.
std::optional<DefinitionFault> checkValue(const Criterion& c, int row, const host::Clock& clock,
                                          const host::Locale& locale) {
  if (host::utf8Length(c.value) > kMaxValueLength) {
    return fault(row, DefinitionPart::kValue,
                 criteria(row) + "the condition for " + fieldName(c) + " is longer than 80 characters");
  }
  if (!relationTakesValue(c.relation)) return std::nullopt;
  if (c.value.empty()) {
    return fault(row, DefinitionPart::kValue,
                 "The condition for criteria " + std::to_string(row) + " requires a value");
  }
  switch (fieldKindInfo(c.field).values) {
    case ValueClass::kNumber:
      if (!readsAsNumber(c.value, locale)) {
        return fault(row, DefinitionPart::kValue, criteria(row) + "the condition " + inQuotes(c.value) + " for " +
                                                      fieldName(c) + " is not a number");
      }
      return std::nullopt;
    case ValueClass::kCategory: {
      ExpressionEngine engine;
      if (!engine.CompileExpression(c.value, categorySlot(row))) {
        return fault(row, DefinitionPart::kValue, criteria(row) + engine.LastExpressionError());
      }
      return std::nullopt;
    }
    default: {
      auto prepared = prepareValue(c, row, clock, locale);
      if (!prepared.ok()) return fault(row, DefinitionPart::kValue, prepared.status().message());
      return std::nullopt;
    }
  }
}

// The chain of connectors: And or Or on every line but the last.
std::optional<DefinitionFault> checkConnector(const Criterion& c, int row, int count) {
  if (row < count && c.connector == 0) {
    return fault(row, DefinitionPart::kLine, criteria(row) + "and(0) ends the filter, but a further criterion follows");
  }
  if (row == count && c.connector != 0) {
    return fault(row, DefinitionPart::kLine,
                 criteria(row) + "and(" + std::to_string(c.connector) + ") joins a criterion that is not there");
  }
  return std::nullopt;
}

std::optional<DefinitionFault> judgeLine(std::string_view line, int row, int count, const host::Clock& clock,
                                         const host::Locale& locale, Criterion& c) {
  if (host::IsBlank(line)) {
    return fault(row, DefinitionPart::kLine, criteria(row) + "the line is blank, but a further criterion follows");
  }
  if (const auto bad = badByte(line)) return fault(row, DefinitionPart::kLine, criteria(row) + "the line " + *bad);
  std::array<std::string, 11> groups;
  if (auto f = readGroups(line, row, groups)) return f;
  if (auto f = readNumbers(groups, row, c)) return f;
  c.value = groups[kValue];
  if (auto f = checkFieldAndRelation(groups[kField], row, c)) return f;
  if (auto f = checkConnector(c, row, count)) return f;
  if (auto f = checkValue(c, row, clock, locale)) return f;
  // What the groups say is written back as it stood.
  if (writeFilterLine(readFilterLine(line)) != line) {
    return fault(row, DefinitionPart::kLine, criteria(row) + "the line does not read back as written");
  }
  return std::nullopt;
}

// Text, memo and address rows: the value folded the way the record's text will be.
PreparedValue prepareText(const Criterion& c, const std::string& cut) {
  PreparedValue p;
  p.text = cut;
  if (c.relation == RelationCode::kLessThanOrEqual) {
    p.text = std::string(host::utf8Left(p.text + std::string(20, 'z'), kPreparedLength));
  }
  if (!c.caseSensitive) p.text = host::upperAscii(p.text);
  if (c.ignorePunct) p.text = host::KeepLettersAndDigits(p.text);
  p.sound = SoundCode(p.text);
  return p;
}

// Date rows: the date read (or worked out from TODAY), moved into 1900 or to
// the first of its month when the row ignores the year or the day.
host::StatusOr<PreparedValue> prepareDate(const Criterion& c, const std::string& cut, int row,
                                          const host::Clock& clock, const host::Locale& locale) {
  PreparedValue p;
  p.text = cut;
  if (host::IsBlank(cut)) return p;
  const std::string unreadable = "The date of criteria " + std::to_string(row) + " cannot be read: " + cut;
  int pos = 1;
  std::optional<host::DateTime> date;
  if (host::NextWord(cut, pos) == "TODAY") {
    if (const auto word = unreadableDateWord(cut)) {
      return host::Status::InvalidArgument(unreadable + " (" + inQuotes(*word) + " is no offset, day, month or year)");
    }
    auto resolved = ResolveRelativeDate(cut, std::floor(clock.now()), locale);
    if (resolved.ok()) date = *resolved;
  } else {
    date = host::parseDate(cut, locale);
  }
  if (!date) return host::Status::InvalidArgument(unreadable);
  if (c.noYear) date = host::DayIn1900(*date);
  if (c.noDay) date = host::FirstOfMonth(*date);
  p.moment = *date;
  p.text = host::formatDate(*date, locale);
  return p;
}

host::StatusOr<PreparedValue> prepareTime(const std::string& cut, int row, const host::Locale& locale) {
  PreparedValue p;
  p.text = cut;
  if (host::IsBlank(cut)) return p;
  const auto time = host::parseTime(cut, locale);
  if (!time) {
    return host::Status::InvalidArgument("The time of criteria " + std::to_string(row) + " cannot be read: " + cut);
  }
  p.moment = *time;
  return p;
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace

std::string faultLines(const DefinitionFaults& faults) {
  std::string text;
  for (const DefinitionFault& f : faults) text += (text.empty() ? "" : "\n") + f.message;
  return text;
}

DefinitionVerdict judgeDefinition(std::string_view text, const host::Clock& clock, const host::Locale& locale) {
  return judgeDefinition(splitMemoLines(text), clock, locale);
}

DefinitionVerdict judgeDefinition(std::vector<std::string> lines, const host::Clock& clock,
                                  const host::Locale& locale) {
  DefinitionVerdict verdict;
  verdict.lines = std::move(lines);
  while (!verdict.lines.empty() && host::IsBlank(verdict.lines.back())) verdict.lines.pop_back();
  const int count = static_cast<int>(verdict.lines.size());
  if (count == 0) {
    verdict.faults.push_back(fault(0, DefinitionPart::kWhole, "The definition holds no criteria"));
    return verdict;
  }
  if (count > kMaxCriteria) {
    verdict.faults.push_back(fault(kMaxCriteria + 1, DefinitionPart::kLine,
                                   criteria(kMaxCriteria + 1) + "a filter holds at most 10 criteria"));
    return verdict;
  }
  std::vector<Criterion> criteria(static_cast<std::size_t>(count));
  for (int row = 1; row <= count; ++row) {
    const std::size_t i = static_cast<std::size_t>(row - 1);
    if (auto f = judgeLine(verdict.lines[i], row, count, clock, locale, criteria[i])) verdict.faults.push_back(*f);
  }
  if (!verdict.faults.empty()) return verdict;
  ExpressionEngine engine;
  if (!engine.CompileExpression(rowExpression(criteria), ExpressionSlot::kRows)) {
    verdict.faults.push_back(fault(0, DefinitionPart::kWhole, engine.LastExpressionError()));
    return verdict;
  }
  verdict.criteria = std::move(criteria);
  return verdict;
}

host::StatusOr<PreparedValue> prepareValue(const Criterion& c, int row, const host::Clock& clock,
                                           const host::Locale& locale) {
  const std::string cut(host::utf8Left(c.value, kPreparedLength));
  PreparedValue p;
  switch (fieldKindInfo(c.field).values) {
    case ValueClass::kText: return prepareText(c, cut);
    case ValueClass::kNumber:
      p.text = cut;
      p.number = host::SafeStrToFloat(cut, locale);
      return p;
    case ValueClass::kDate: return prepareDate(c, cut, row, clock, locale);
    case ValueClass::kTime: return prepareTime(cut, row, locale);
    case ValueClass::kLogical:
    case ValueClass::kMarked: p.text = cut; return p;
    case ValueClass::kCategory:
    case ValueClass::kNone: return p;
  }
  return p;
}

std::string rowExpression(const std::vector<Criterion>& criteria) {
  std::string text;
  for (std::size_t i = 0; i < criteria.size(); ++i) {
    const Criterion& c = criteria[i];
    text.append(static_cast<std::size_t>(std::clamp(c.open, 0, kMaxParentheses)), '(');
    text += rowLetter(static_cast<int>(i) + 1);
    text.append(static_cast<std::size_t>(std::clamp(c.close, 0, kMaxParentheses)), ')');
    if (c.connector == 1) text += '*';
    if (c.connector == 2) text += '+';
  }
  return text;
}

std::optional<std::string> descriptionFault(std::string_view description) {
  if (host::IsBlank(description)) return "The description is blank.  Use it to describe the filter.";
  if (const auto bad = badByte(description)) return "The description " + *bad + ".";
  if (host::utf8Length(description) > kMaxDescriptionLength) {
    return "The description is longer than " + std::to_string(kMaxDescriptionLength) + " characters.";
  }
  return std::nullopt;
}

std::optional<std::string> whoFault(std::string_view who) {
  if (const auto bad = badByte(who)) return "The user id " + *bad + ".";
  if (host::utf8Length(who) > kMaxWhoLength) {
    return "The user id " + inQuotes(who) + " is longer than " + std::to_string(kMaxWhoLength) + " characters.";
  }
  return std::nullopt;
}

StoredValue storedValue(int position, std::string_view conditionText) {
  const FieldKindInfo& kind = fieldKindInfo(position);
  StoredValue stored;
  stored.value = std::string(conditionText);
  if (kind.storesStatusCode) {
    if (const int status = host::findEventStatusByName(stored.value); status >= 0) {
      stored.value = std::string(host::EventStatusList[static_cast<std::size_t>(status)].code);
    }
  }
  if (kind.values == ValueClass::kDate) {
    stored.noDay = contains(stored.value, "NoDay");
    stored.noYear = contains(stored.value, "NoYear");
    if (!contains(stored.value, "TODAY")) stored.value = stored.value.substr(0, stored.value.find('('));
  }
  return stored;
}

std::string shownValue(int position, const FilterLine& line) {
  std::string shown = line.value;
  // A calendar date lost its note when it was stored; one that still holds
  // it (a TODAY value) keeps it as it is.
  if ((line.noYear || line.noDay) && !contains(shown, "NoYear") && !contains(shown, "NoDay")) {
    const std::string note = std::string(" (") + (line.noYear ? "NoYear " : "") + (line.noDay ? "NoDay" : "") + ")";
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    shown = std::string(host::utf8Left(shown, kMaxValueLength - note.size())) + note;
  }
  if (fieldKindInfo(position).showsStatusName) {
    if (const int status = host::findEventStatusByCode(shown); status >= 0) {
      shown = std::string(host::EventStatusList[static_cast<std::size_t>(status)].name);
    }
  }
  return shown;
}

}  // namespace vistrel::filter
