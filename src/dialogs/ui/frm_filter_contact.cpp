// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "dialogs/ui/frm_filter_contact.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include <cmath>

#include "dialogs/description_generator.h"
#include "host/environment.h"
#include "host/session.h"
#include "host/help.h"
#include "host/ui/messages.h"
#include "host/text.h"
#include "host/ui/help_viewer.h"
#include "widgets/form_helpers.h"

namespace vistrel::dialogs {
namespace {

using widgets::qtText;
using widgets::namedButton;

constexpr int kClientWidth = 639;
constexpr int kClientHeight = 436;
constexpr int kLineStep = 27;
constexpr int kBoxHeight = 23;
// Columns of a line with the parenthesis boxes shown: left edge and width.
constexpr int kOpenLeft = 2, kOpenWidth = 44;
constexpr int kFieldLeft = 50, kFieldWidth = 119;
constexpr int kRelationLeft = 174, kRelationWidth = 152;
constexpr int kConditionLeft = 331, kConditionWidth = 182;
constexpr int kCloseLeft = 517, kCloseWidth = 44;
constexpr int kAndLeft = 564, kAndWidth = 54;
constexpr int kPrintPauseMs = 2000;
// Characters of a status or letter type name.
constexpr std::size_t kMaxStatusLength = 40;

QComboBox* pickList(const QString& name, const QStringList& items, QRect geometry, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  box->setGeometry(geometry);
  return box;
}

QLineEdit* textBox(const QString& name, QRect geometry, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setGeometry(geometry);
  return box;
}

void setBoxColour(QWidget* box, const QColor& colour) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Button, colour);
  box->setPalette(palette);
}

QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }

}  // namespace

EditorContext EditorContext::current(host::Engine& engine, const host::Session& session) {
  EditorContext context{session.CurrentDB, session.CurrentWho, engine.locale(), {}, &engine};
  if (auto names = filter::readCategoryNames(engine, session.CurrentDB); names.ok()) context.categories = *names;
  return context;
}

TfrmFilterContact::TfrmFilterContact(FilterRecordStore& store, FilterRecord record, EditorContext context,
                                     QWidget* parent)
    : QDialog(parent),
      store_(store),
      record_(std::move(record)),
      context_(std::move(context)),
      pickers_(std::make_unique<CriteriaPickers>()),
      clock_(&host::SystemClock::instance()) {
  setObjectName(QStringLiteral("frmFilterContact"));
  setWindowTitle(QStringLiteral("Set contact filter"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);

  auto* label = new QLabel(QStringLiteral("&Description of filter"), this);
  label->setGeometry(8, 6, 200, 18);
  edDescript_ = textBox(QStringLiteral("edDescript"), {8, 26, 460, kBoxHeight}, this);
  edDescript_->setMaxLength(static_cast<int>(kMaxDescriptionLength));
  edDescript_->setText(qtText(record_.shortname));
  label->setBuddy(edDescript_);
  auto* generate = namedButton(QStringLiteral("&Generate description"), QStringLiteral("btGenerate"), {476, 25, 155, 25}, this);

  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
  scrollBox_->setGeometry(8, 58, 623, 284);
  // Tab goes from Generate straight to the first line's boxes; the box
  // around them would take the focus without showing it.
  scrollBox_->setFocusPolicy(Qt::NoFocus);
  auto* lines = new QWidget;
  lines->resize(kAndLeft + kAndWidth + 2, kCriteriaLineCount * kLineStep + 4);
  for (int n = 1; n <= kCriteriaLineCount; ++n) buildLine(n, lines);
  scrollBox_->setWidget(lines);

  cbCase_ = new QCheckBox(QStringLiteral("&Case sensitive"), this);
  cbCase_->setObjectName(QStringLiteral("cbCase"));
  cbCase_->setGeometry(8, 352, 150, 22);
  cbPunct_ = new QCheckBox(QStringLiteral("&Ignore punctuation"), this);
  cbPunct_->setObjectName(QStringLiteral("cbPunct"));
  cbPunct_->setGeometry(170, 352, 170, 22);
  cbAdvanced_ = new QCheckBox(QStringLiteral("&Show parenthesis"), this);
  cbAdvanced_->setObjectName(QStringLiteral("cbAdvanced"));
  cbAdvanced_->setGeometry(350, 352, 160, 22);

  buildButtonRow();

  fieldLeft_ = kFieldLeft;
  fieldWidth_ = kFieldWidth;
  conditionWidth_ = kConditionWidth;
  for (QWidget* box : boxes()) {
    setBoxColour(box, buttonFace());
    box->installEventFilter(this);
  }

  connect(generate, &QPushButton::clicked, this, &TfrmFilterContact::btGenerateClick);
  connect(cbAdvanced_, &QCheckBox::clicked, this, &TfrmFilterContact::ResizeAdvancedControls);
  connect(cbCase_, &QCheckBox::toggled, this, [this](bool on) { model_.caseSensitive = on; });
  connect(cbPunct_, &QCheckBox::toggled, this, [this](bool on) { model_.ignorePunctuation = on; });
}

// Print, OK, Cancel and Help along the foot of the window.
void TfrmFilterContact::buildButtonRow() {
  auto* print = namedButton(QStringLiteral("&Print"), QStringLiteral("btPrint"), {8, 398, 80, 27}, this);
  auto* ok = namedButton(QStringLiteral("OK"), QStringLiteral("btOK"), {371, 398, 80, 27}, this);
  ok->setDefault(true);
  auto* cancel = namedButton(QStringLiteral("Cancel"), QStringLiteral("btCancel"), {459, 398, 80, 27}, this);
  auto* help = namedButton(QStringLiteral("&Help"), QStringLiteral("btHelp"), {547, 398, 80, 27}, this);
  connect(print, &QPushButton::clicked, this, &TfrmFilterContact::btPrintClick);
  connect(ok, &QPushButton::clicked, this, &TfrmFilterContact::btOKClick);
  connect(cancel, &QPushButton::clicked, this, &TfrmFilterContact::btCancelClick);
  connect(help, &QPushButton::clicked, this, &TfrmFilterContact::btHelpClick);
}

TfrmFilterContact::~TfrmFilterContact() = default;

void TfrmFilterContact::setPickers(std::unique_ptr<CriteriaPickers> pickers) { pickers_ = std::move(pickers); }

void TfrmFilterContact::buildLine(int n, QWidget* box) {
  const int y = 2 + (n - 1) * kLineStep;
  LineControls& c = lines_[static_cast<std::size_t>(n - 1)];
  c.open = pickList(QStringLiteral("cbOpen%1").arg(n), {"", "(", "((", "(((", "((((", "((((("},
                    {kOpenLeft, y, kOpenWidth, kBoxHeight}, box);
  c.field = textBox(QStringLiteral("Edfield%1").arg(n), {kFieldLeft, y, kFieldWidth, kBoxHeight}, box);
  c.relation = pickList(QStringLiteral("cbRel%1").arg(n), {}, {kRelationLeft, y, kRelationWidth, kBoxHeight}, box);
  c.condition = textBox(QStringLiteral("Edit%1").arg(n), {kConditionLeft, y, kConditionWidth, kBoxHeight}, box);
  c.condition->setMaxLength(static_cast<int>(kMaxConditionLength));
  c.close = pickList(QStringLiteral("cbClose%1").arg(n), {"", ")", "))", ")))", "))))", ")))))"},
                     {kCloseLeft, y, kCloseWidth, kBoxHeight}, box);
  if (n < kCriteriaLineCount) {
    c.andOr = pickList(QStringLiteral("cbAnd%1").arg(n), {"", "And", "Or"}, {kAndLeft, y, kAndWidth, kBoxHeight}, box);
    connect(c.andOr, &QComboBox::activated, this, [this, n] { cbAnd1Click(n); });
  }
  connect(c.field, &QLineEdit::textEdited, this, [this, n] { cbField1Change(n); });
  connect(c.relation, &QComboBox::activated, this, [this, n] { cbRel1Click(n); });
  connect(c.condition, &QLineEdit::textEdited, this, [this, n](const QString& text) {
    model_.line(n).conditionText = text.toStdString();
  });
  connect(c.open, &QComboBox::currentIndexChanged, this, [this, n](int index) {
    if (!syncing_) model_.line(n).openCount = std::max(index, 0);
  });
  connect(c.close, &QComboBox::currentIndexChanged, this, [this, n](int index) {
    if (!syncing_) model_.line(n).closeCount = std::max(index, 0);
  });
}

std::vector<QWidget*> TfrmFilterContact::boxes() const {
  std::vector<QWidget*> all{edDescript_};
  for (const LineControls& c : lines_) {
    for (QWidget* w : {static_cast<QWidget*>(c.open), static_cast<QWidget*>(c.field),
                       static_cast<QWidget*>(c.relation), static_cast<QWidget*>(c.condition),
                       static_cast<QWidget*>(c.close), static_cast<QWidget*>(c.andOr)}) {
      if (w != nullptr) all.push_back(w);
    }
  }
  return all;
}

void TfrmFilterContact::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
  FormShow();
}

void TfrmFilterContact::FormShow() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  model_ = CriteriaEditorModel();
  const std::vector<std::string> problems = model_.loadfromMemo(record_.selection);
  cbAdvanced_->setChecked(model_.parenthesesInUse);
  cbCase_->setChecked(model_.caseSensitive);
  cbPunct_->setChecked(model_.ignorePunctuation);
  showLines();
  ResizeAdvancedControls();
  const auto warning = model_.otherDatabaseWarning(record_.db, context_.currentDb);
  QApplication::restoreOverrideCursor();
  for (const std::string& problem : problems) host::ShowError(problem);
  if (warning) host::ShowError(*warning);
}

void TfrmFilterContact::showLine(int n) {
  const CriteriaLine& l = model_.line(n);
  const LineControls& c = line(n);
  syncing_ = true;
  if (c.field->text().toStdString() != l.fieldText) c.field->setText(qtText(l.fieldText));
  c.relation->clear();
  for (std::string_view relation : l.relations) c.relation->addItem(qtText(relation));
  c.relation->setCurrentIndex(c.relation->findText(qtText(l.relationText)));
  if (c.condition->text().toStdString() != l.conditionText) c.condition->setText(qtText(l.conditionText));
  c.open->setCurrentIndex(l.openCount);
  c.close->setCurrentIndex(l.closeCount);
  c.field->setVisible(l.inUse);
  c.relation->setVisible(l.inUse);
  c.condition->setVisible(l.inUse && l.conditionShown);
  c.open->setVisible(l.inUse && cbAdvanced_->isChecked());
  c.close->setVisible(l.inUse && cbAdvanced_->isChecked());
  if (c.andOr != nullptr) {
    c.andOr->setCurrentIndex(l.connector > 0 ? l.connector : -1);
    c.andOr->setVisible(l.inUse);
  }
  syncing_ = false;
}

void TfrmFilterContact::showLines() {
  for (int n = 1; n <= kCriteriaLineCount; ++n) showLine(n);
}

void TfrmFilterContact::setFieldBoxText(int n, const QString& text) {
  if (Edfield(n)->text() == text) return;
  Edfield(n)->setText(text);
  cbField1Change(n);
}

void TfrmFilterContact::cbField1Change(int n) {
  if (syncing_) return;
  model_.setFieldText(n, Edfield(n)->text().toStdString());
  showLine(n);
}

void TfrmFilterContact::cbRel1Click(int n) {
  model_.chooseRelation(n, cbRel(n)->currentText().toStdString());
  showLine(n);
}

void TfrmFilterContact::cbAnd1Click(int n) {
  model_.chooseConnector(n, cbAnd(n)->currentIndex());
  for (int i = n; i <= kCriteriaLineCount; ++i) showLine(i);
}

void TfrmFilterContact::Edfield1Enter(int n) {
  const std::string text = Edfield(n)->text().toStdString();
  const std::size_t colon = text.find(':');
  const std::string current = colon == std::string::npos ? text : text.substr(0, colon > 0 ? colon - 1 : 0);
  const auto chosen = pickers_->pickField(this, current);
  takeBackActivation();
  if (chosen) setFieldBoxText(n, qtText(*chosen));
  cbRel(n)->setFocus(Qt::OtherFocusReason);
  if (model_.line(n).relationText.empty() && !model_.line(n).relations.empty()) {
    model_.chooseRelation(n, model_.line(n).relations.front());
    showLine(n);
  }
}

void TfrmFilterContact::Edit1Enter(int n) {
  const ConditionPicker kind = model_.conditionPicker(n);
  if (kind == ConditionPicker::kNone) return;
  CriteriaLine& l = model_.line(n);
  const std::string taken(host::utf8Left(l.conditionText, kMaxStatusLength));
  if (kind == ConditionPicker::kDate && host::IsBlank(l.conditionText)) {
    l.conditionText = host::formatDate(std::floor(clock_->now()), context_.locale);
  } else if (kind == ConditionPicker::kTime && host::IsBlank(l.conditionText)) {
    l.conditionText = host::formatTime(clock_->now(), context_.locale);
  }
  showLine(n);
  const std::string start = kind == ConditionPicker::kEventStatus || kind == ConditionPicker::kLetterType
                                ? taken
                                : std::string(host::utf8Left(l.conditionText, kMaxConditionLength));
  const PickerContext pickerContext{{context_.engine, context_.currentWho, clock_, context_.locale},
                                    context_.categories};
  const ConditionPick pick = pickers_->pickCondition(this, kind, start, pickerContext);
  if (pick.outcome == ConditionPick::Outcome::kNoPicker) return;
  takeBackActivation();
  if (pick.outcome == ConditionPick::Outcome::kChosen) {
    l.conditionText = pick.text;
    if (kind == ConditionPicker::kDate && pick.disregards) {
      model_.chooseRelation(n, filter::RelationToString(filter::RelationCode::kEquals));
    }
  } else if (kind == ConditionPicker::kEventStatus || kind == ConditionPicker::kLetterType) {
    l.conditionText = taken;
  }
  showLine(n);
  // Line 10 has no And/Or box; OK is next.
  QWidget* next = n < kCriteriaLineCount ? static_cast<QWidget*>(cbAnd(n)) : findChild<QPushButton*>("btOK");
  next->setFocus(Qt::OtherFocusReason);
}

// Without a window manager (or on one that does not hand it back) no window
// is active once a picker closes, and the keyboard would reach nothing.
void TfrmFilterContact::takeBackActivation() {
  if (isVisible() && !isActiveWindow()) activateWindow();
}

bool TfrmFilterContact::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) {
    return QDialog::eventFilter(watched, event);
  }
  auto* box = static_cast<QWidget*>(watched);
  const bool in = event->type() == QEvent::FocusIn;
  setBoxColour(box, in ? QColor(Qt::white) : buttonFace());
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  // Coming back to the window (after a picker closed) is no entering.
  if (!in || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
  for (int n = 1; n <= kCriteriaLineCount; ++n) {
    if (box == Edfield(n)) QTimer::singleShot(0, this, [this, n] { Edfield1Enter(n); });
    if (box == Edit(n)) QTimer::singleShot(0, this, [this, n] { Edit1Enter(n); });
  }
  return false;
}

void TfrmFilterContact::ResizeAdvancedControls() {
  setUpdatesEnabled(false);
  const bool advanced = cbAdvanced_->isChecked();
  for (int n = 1; n <= kCriteriaLineCount; ++n) {
    const LineControls& c = line(n);
    const int y = c.field->y();
    if (advanced) {
      c.field->setGeometry(fieldLeft_, y, fieldWidth_, kBoxHeight);
      c.condition->resize(conditionWidth_, kBoxHeight);
    } else {
      c.field->setGeometry(c.open->x(), y, c.open->width() + fieldWidth_ + 3, kBoxHeight);
      c.condition->resize(c.close->width() + conditionWidth_ + 3, kBoxHeight);
    }
    c.open->setVisible(advanced && model_.line(n).inUse);
    c.close->setVisible(advanced && model_.line(n).inUse);
  }
  setUpdatesEnabled(true);
}

void TfrmFilterContact::btGenerateClick() {
  const auto description = generateDescription(model_, context_.categories);
  if (!description) {
    host::ShowError(kNoFieldsForDescription);
    return;
  }
  edDescript_->setText(qtText(*description));
}

void TfrmFilterContact::focusFault(const CriteriaFault& fault) {
  switch (fault.box) {
    case CriteriaBox::kDescription: edDescript_->setFocus(Qt::OtherFocusReason); break;
    case CriteriaBox::kField: Edfield(fault.line)->setFocus(Qt::OtherFocusReason); break;
    case CriteriaBox::kRelation: cbRel(fault.line)->setFocus(Qt::OtherFocusReason); break;
    case CriteriaBox::kCondition: Edit(fault.line)->setFocus(Qt::OtherFocusReason); break;
    case CriteriaBox::kNone: break;
  }
}

void TfrmFilterContact::btOKClick() {
  const SaveContext save{context_.currentDb, context_.currentWho, context_.locale, clock_};
  if (const auto fault = saveCriteria(model_, edDescript_->text().toStdString(), record_, store_, save)) {
    host::ShowError(fault->message);
    focusFault(*fault);
    return;
  }
  accept();
}

void TfrmFilterContact::btCancelClick() { reject(); }

void TfrmFilterContact::btPrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  const bool confirmed = setUpPrinter_ ? setUpPrinter_(printer, this)
                                       : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
  if (confirmed) printWindow(printer);
}

bool TfrmFilterContact::printWindow(QPrinter& printer) {
  setBoxColours(Qt::white);
  const QPixmap image = grab();
  QPainter painter;
  const bool started = painter.begin(&printer);
  if (started) {
    const QRect page = painter.viewport();
    const double scale = static_cast<double>(printer.logicalDpiX()) / std::max(1, logicalDpiX());
    QSize size = image.size() * scale;
    if (size.width() > page.width() || size.height() > page.height()) size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    painter.end();
  } else {
    host::ShowError("Unable to print: the printer could not be started.");
  }
  QTimer::singleShot(kPrintPauseMs, this, [this] { setBoxColours(buttonFace()); });
  return started;
}

void TfrmFilterContact::setBoxColours(const QColor& colour) {
  for (QWidget* box : boxes()) setBoxColour(box, colour);
}

void TfrmFilterContact::btHelpClick() { host::showHelp(host::kHelpCriteriaEditor, this, host::HelpBook::kTaldb); }

filter::TfrmFltPick::CriteriaEditor criteriaEditorFor(host::Engine& engine, const host::Session& session,
                                                      std::function<void(TfrmFilterContact&)> prepare) {
  return [&engine, &session, prepare = std::move(prepare)](QWidget* parent, const filter::StoredFilter* row,
                                                           const std::string&) {
    SelectTableStore store(engine);
    TfrmFilterContact editor(store, row != nullptr ? *row : FilterRecord{}, EditorContext::current(engine, session),
                             parent);
    if (prepare) prepare(editor);
    return editor.exec() == QDialog::Accepted;
  };
}

}  // namespace vistrel::dialogs
