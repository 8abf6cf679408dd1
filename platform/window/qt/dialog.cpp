// Dialogs on QDialog: the template turned into widgets, the dialog manager's
// keys and focus rules, the modal run, message boxes.
#include "platform/window/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>

#include "platform/window/qt/read_only_edit_accessible.h"
#include "platform/window/qt/window_impl_qt.h"
#include "platform/window/resources.h"

namespace {

std::vector<DialogState*> g_running;

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::User + 1);

class PostedMessage : public QEvent {
 public:
  PostedMessage(UINT message, WPARAM wParam, LPARAM lParam)
      : QEvent(kPostedMessageEvent), message(message), wParam(wParam), lParam(lParam) {}
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// The system's descriptions of the failures a handler may leave with.
std::string DescribeFailure() {
  try {
    throw;
  } catch (const std::invalid_argument&) {
    return "The parameter is incorrect.";
  } catch (const std::bad_alloc&) {
    return "Not enough memory resources are available to complete this operation.";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "An unsupported operation was attempted.";
  }
}

int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

// The whole rectangle takes the click, as the system's check boxes do, not
// only the box and its text. A change of state that no click made (a screen
// reader's Toggle action) is reported as a click too, as the system's boxes
// report every change the user makes; the program's own BM_SETCHECK is quiet.
class DialogCheckBox : public QCheckBox {
 public:
  DialogCheckBox(const QString& text, QWidget* parent, std::function<void()> clicked)
      : QCheckBox(text, parent) {
    QObject::connect(this, &QAbstractButton::clicked, this, clicked);
    QObject::connect(this, &QAbstractButton::toggled, this, [this, clicked] {
      if (!m_clicking) clicked();
    });
  }

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  // A click changes the state here, then says clicked().
  void nextCheckState() override {
    const QScopedValueRollback<bool> clicking(m_clicking, true);
    QCheckBox::nextCheckState();
  }

 private:
  bool m_clicking = false;
};

bool IsPushButton(HWND hwnd) { return hwnd != nullptr && hwnd->kind == WindowKind::PushButton; }

void SetDefaultLook(HWND hwnd, bool on) {
  if (IsPushButton(hwnd)) static_cast<QPushButton*>(hwnd->widget.data())->setDefault(on);
}

QString Caption(const char* text) { return QString::fromLocal8Bit(text != nullptr ? text : ""); }

// A static's caption as a label: mnemonic marks dropped, lines joined.
QString LabelText(const DialogControl& c) {
  QString text = Caption(c.caption);
  if (!(c.style & SS_NOPREFIX)) text.remove(QLatin1Char('&'));
  return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool IsTextStatic(const DialogControl& c) {
  return std::strcmp(c.cls, "STATIC") == 0 && (c.style & SS_TYPEMASK) != SS_ICON;
}

bool RowsOverlap(const DialogControl& a, const DialogControl& b) {
  return a.y < b.y + b.cy && b.y < a.y + a.cy;
}

bool ColumnsOverlap(const DialogControl& a, const DialogControl& b) {
  return a.x < b.x + b.cx && b.x < a.x + a.cx;
}

// Without a window manager nobody hands the activation back when a modal
// window closes; its owner takes it, with its focus where it was.
void ReturnActivationTo(QWidget* owner) {
  if (owner != nullptr && owner->isVisible()) owner->activateWindow();
}

}  // namespace

QWidget* RunningDialogWidget() { return g_running.empty() ? nullptr : g_running.back()->widget; }

void DeliverFromEventLoop(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    DispatchToWindow(hwnd, message, wParam, lParam);
  } catch (...) {
    AfxMessageBox(DescribeFailure(), MB_ICONSTOP);
  }
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_hWnd == nullptr || m_hWnd->kind != WindowKind::Dialog || m_hWnd->widget == nullptr) {
    return FALSE;
  }
  QCoreApplication::postEvent(m_hWnd->widget, new PostedMessage(message, wParam, lParam));
  return TRUE;
}

const QIcon& HICON__::Get() {
  if (icon.isNull()) {
    for (const QFileInfo& image : QDir(folder).entryInfoList(QDir::Files)) {
      icon.addFile(image.filePath());
    }
  }
  return icon;
}

DialogWidget::DialogWidget(DialogState& state, QWidget* parent) : QDialog(parent), m_state(state) {}

bool DialogWidget::event(QEvent* event) {
  if (event->type() == kPostedMessageEvent) {
    auto* posted = static_cast<PostedMessage*>(event);
    DeliverFromEventLoop(&m_state.self, posted->message, posted->wParam, posted->lParam);
    return true;
  }
  return QDialog::event(event);
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    if (HandleDialogKey(static_cast<QKeyEvent*>(event))) return true;
  } else if (event->type() == QEvent::FocusIn) {
    m_state.UpdateDefaultLook(qobject_cast<QWidget*>(watched));
  }
  return QDialog::eventFilter(watched, event);
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
  if (!HandleDialogKey(event)) QDialog::keyPressEvent(event);
}

bool DialogWidget::HandleDialogKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
    HWND focused = m_state.FindWidget(focusWidget());
    m_state.PressButton(IsPushButton(focused) ? focused->id : m_state.defId);
    return true;
  }
  if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
    HWND cancel = m_state.Find(IDCANCEL);
    if (cancel == nullptr || cancel->widget->isEnabled()) {
      DeliverFromEventLoop(&m_state.self, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return true;
  }
  if (key == Qt::Key_F4 && mods == Qt::AltModifier) {
    DeliverFromEventLoop(&m_state.self, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  // Desktops keep Alt+Space for their own window menu; the Menu key and
  // Shift+F10, the keyboard's context menu, open the dialog's.
  if ((key == Qt::Key_Space && mods == Qt::AltModifier) ||
      (key == Qt::Key_Menu && mods == Qt::NoModifier) ||
      (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
    m_state.ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
    return true;
  }
  return false;
}

void DialogWidget::closeEvent(QCloseEvent* event) {
  // The close box asks; the dialog's WM_CLOSE handling decides.
  event->ignore();
  DeliverFromEventLoop(&m_state.self, WM_CLOSE, 0, 0);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
  m_state.ShowSystemMenu(event->globalPos());
}

void DialogWidget::reject() { DeliverFromEventLoop(&m_state.self, WM_CLOSE, 0, 0); }

DialogState::DialogState(CDialog& owner, const DialogTemplate& tmpl, QWidget* parent)
    : owner(owner) {
  self.kind = WindowKind::Dialog;
  self.dialog = this;
  self.style = tmpl.style;
  widget = new DialogWidget(*this, parent);
  self.widget = widget;
  // A child of the dialog, so the dialog's modality does not block it.
  systemMenu.impl->menu.setParent(widget, Qt::Popup);
  systemMenu.AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  QObject::connect(&systemMenu.impl->menu, &QMenu::triggered, widget, [this](QAction* action) {
    // After the menu has closed, as a system command comes.
    this->owner.PostMessage(WM_SYSCOMMAND, action->data().toUInt(), 0);
  });
  Build(tmpl);
}

DialogState::~DialogState() {
  for (auto& control : controls) {
    while (!control->attached.empty()) DetachWindow(*control->attached.back());
  }
  while (!self.attached.empty()) DetachWindow(*self.attached.back());
  systemMenu.impl->menu.setParent(nullptr);  // the menu is ours to delete
  delete widget;
}

void DialogState::Build(const DialogTemplate& tmpl) {
  const std::string fontName = tmpl.fontName != nullptr ? tmpl.fontName : "";
  QFont font = QApplication::font();
  if ((tmpl.style & DS_SETFONT) && !fontName.empty() && fontName.rfind("MS Shell Dlg", 0) != 0) {
    font = QFont(QString::fromLocal8Bit(tmpl.fontName), tmpl.pointSize);
  }
  widget->setFont(font);
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseX = (alphabet / 26 + 1) / 2;
  baseY = metrics.height();

  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (tmpl.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  widget->setWindowFlags(flags);
  widget->setWindowTitle(Caption(tmpl.caption));
  RECT client{0, 0, tmpl.cx, tmpl.cy};
  MapDialogRect(client);
  widget->resize(client.right, client.bottom);
  // Without a sizing border the frame is fixed; with one it sizes, and no
  // control moves.
  if (!(tmpl.style & WS_THICKFRAME)) widget->setFixedSize(client.right, client.bottom);

  for (const DialogControl& c : tmpl.controls) {
    auto record = std::make_unique<HWND__>();
    record->id = c.id;
    record->style = c.style;
    record->dialog = this;
    record->wrapper = std::make_unique<CWnd>();
    HWND hwnd = record.get();
    QWidget* w = std::strcmp(c.cls, "EDIT") == 0     ? MakeEdit(c, *hwnd)
                 : std::strcmp(c.cls, "BUTTON") == 0 ? MakeButton(c, *hwnd)
                                                     : MakeStatic(c, *hwnd);
    RECT r{c.x, c.y, c.x + c.cx, c.y + c.cy};
    MapDialogRect(r);
    w->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    w->setEnabled(!(c.style & WS_DISABLED));
    w->setVisible(c.style & WS_VISIBLE);
    w->installEventFilter(widget);
    record->widget = w;
    AttachWindow(*record->wrapper, hwnd);
    controls.push_back(std::move(record));
  }
  // Group boxes paint behind the controls they frame.
  for (auto& control : controls) {
    if (control->kind == WindowKind::GroupBox) control->widget->lower();
  }
  WidenClippedCaptions();
  NameEditsByLabels(tmpl);
}

// Controls send their notifications as WM_COMMAND to the dialog, as the system's do.
void DialogState::Notify(const HWND__& control, UINT code) {
  DeliverFromEventLoop(&self, WM_COMMAND, MAKEWPARAM(control.id, code), 0);
}

QWidget* DialogState::MakeEdit(const DialogControl& c, HWND__& record) {
  const bool readOnly = (c.style & ES_READONLY) != 0;
  QWidget* w = nullptr;
  if (c.style & ES_MULTILINE) {
    auto* edit = new QPlainTextEdit(Caption(c.caption), widget);
    edit->setTabChangesFocus(true);
    edit->setLineWrapMode((c.style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                     : QPlainTextEdit::WidgetWidth);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setReadOnly(readOnly);
    if (readOnly) {
      edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    if (!(c.style & WS_BORDER)) edit->setFrameShape(QFrame::NoFrame);
    QObject::connect(edit, &QPlainTextEdit::textChanged, widget,
                     [this, &record] { Notify(record, EN_CHANGE); });
    record.kind = WindowKind::MultiLineEdit;
    w = edit;
  } else {
    auto* edit = new QLineEdit(widget);
    // Before the text: setting it may already ask for the accessible interface.
    if (readOnly) ReportReadOnlyToAssistiveTechnology(edit);
    edit->setReadOnly(readOnly);
    edit->setText(Caption(c.caption));
    edit->setFrame(c.style & WS_BORDER);
    QObject::connect(edit, &QLineEdit::textChanged, widget,
                     [this, &record] { Notify(record, EN_CHANGE); });
    record.kind = WindowKind::Edit;
    w = edit;
  }
  if (readOnly) {
    // Read-only edits show on the dialog's own colour, as the system draws them.
    QPalette palette = w->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    w->setPalette(palette);
  }
  w->setFocusPolicy((c.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
  return w;
}

QWidget* DialogState::MakeButton(const DialogControl& c, HWND__& record) {
  const std::uint32_t type = c.style & BS_TYPEMASK;
  if (type == BS_GROUPBOX) {
    auto* group = new QGroupBox(Caption(c.caption), widget);
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    group->setFocusPolicy(Qt::NoFocus);
    record.kind = WindowKind::GroupBox;
    return group;
  }
  QAbstractButton* button = nullptr;
  if (type == BS_AUTOCHECKBOX) {
    button = new DialogCheckBox(Caption(c.caption), widget,
                                [this, &record] { Notify(record, BN_CLICKED); });
    record.kind = WindowKind::CheckBox;
  } else {
    auto* push = new QPushButton(Caption(c.caption), widget);
    push->setAutoDefault(false);
    push->setDefault(type == BS_DEFPUSHBUTTON);
    QObject::connect(push, &QAbstractButton::clicked, widget,
                     [this, &record] { Notify(record, BN_CLICKED); });
    button = push;
    record.kind = WindowKind::PushButton;
  }
  button->setFocusPolicy((c.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
  return button;
}

QWidget* DialogState::MakeStatic(const DialogControl& c, HWND__& record) {
  auto* label = new QLabel(widget);
  if ((c.style & SS_TYPEMASK) == SS_ICON) {
    // An icon static's caption is the icon's resource id.
    if (HICON icon = LoadIconResource(Caption(c.caption).toUInt()); icon != nullptr) {
      label->setPixmap(icon->Get().pixmap(QSize(32, 32)));
    }
  } else {
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(((c.style & SS_TYPEMASK) == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) |
                        Qt::AlignTop);
    label->setText(Caption(c.caption));
  }
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  record.kind = WindowKind::Static;
  return label;
}

// Templates are drawn for a narrower font than most desktops have: a label or
// check box whose caption does not fit grows to the right, into free space
// only, so nothing moves and nothing is covered.
void DialogState::WidenClippedCaptions() {
  for (auto& control : controls) {
    QWidget* w = control->widget;
    int needed = 0;
    if (control->kind == WindowKind::CheckBox) {
      needed = w->sizeHint().width();
    } else if (auto* label = qobject_cast<QLabel*>(w);
               label != nullptr && label->pixmap().isNull()) {
      for (const QString& line : label->text().split(QLatin1Char('\n'))) {
        needed = std::max(needed, label->fontMetrics().horizontalAdvance(line) + 1);
      }
    }
    const QRect rect = w->geometry();
    if (needed <= rect.width()) continue;
    int limit = rect.left() + needed;
    for (const auto& other : controls) {
      const QRect o = other->widget->geometry();
      if (other == control || other->kind == WindowKind::GroupBox) continue;
      if (o.top() <= rect.bottom() && rect.top() <= o.bottom() && o.left() >= rect.right()) {
        limit = std::min(limit, o.left() - 1);
      }
    }
    w->resize(std::max(rect.width(), limit - rect.left()), rect.height());
  }
}

// Each edit takes the text of the static left of it on its row; a second
// edit on that row adds the heading of its column.
void DialogState::NameEditsByLabels(const DialogTemplate& tmpl) {
  const auto& all = tmpl.controls;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const DialogControl& edit = all[i];
    if (std::strcmp(edit.cls, "EDIT") != 0) continue;
    const DialogControl* rowLabel = nullptr;
    for (const DialogControl& c : all) {
      if (IsTextStatic(c) && RowsOverlap(c, edit) && c.x + c.cx <= edit.x &&
          (rowLabel == nullptr || c.x > rowLabel->x)) {
        rowLabel = &c;
      }
    }
    if (rowLabel == nullptr) continue;
    QString name = LabelText(*rowLabel);
    bool editBetween = false;
    for (const DialogControl& c : all) {
      editBetween |= &c != &edit && std::strcmp(c.cls, "EDIT") == 0 && RowsOverlap(c, edit) &&
                     c.x >= rowLabel->x + rowLabel->cx && c.x < edit.x;
    }
    if (editBetween) {
      const DialogControl* heading = nullptr;
      for (const DialogControl& c : all) {
        if (IsTextStatic(c) && ColumnsOverlap(c, edit) && c.y + c.cy <= edit.y &&
            (heading == nullptr || c.y > heading->y)) {
          heading = &c;
        }
      }
      if (heading != nullptr) name += QLatin1Char(' ') + LabelText(*heading);
    }
    controls[i]->widget->setAccessibleName(name);
  }
}

HWND DialogState::Find(int id) const {
  for (const auto& control : controls) {
    if (control->id == id) return control.get();
  }
  return nullptr;
}

HWND DialogState::FindWidget(const QWidget* w) const {
  for (const auto& control : controls) {
    if (w != nullptr && control->widget == w) return control.get();
  }
  return nullptr;
}

void DialogState::SetDefId(int id) {
  if (id == defId) return;
  SetDefaultLook(Find(defId), false);
  defId = id;
  SetDefaultLook(Find(defId), true);
}

void DialogState::UpdateDefaultLook(const QWidget* focus) {
  HWND focused = FindWidget(focus);
  HWND look = IsPushButton(focused) ? focused : Find(defId);
  for (const auto& control : controls) {
    if (control.get() != look) SetDefaultLook(control.get(), false);
  }
  SetDefaultLook(look, true);
}

void DialogState::FocusControl(HWND control) {
  if (control == nullptr || control->widget == nullptr) return;
  control->widget->setFocus(Qt::TabFocusReason);
  if (auto* line = qobject_cast<QLineEdit*>(control->widget.data())) line->selectAll();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(control->widget.data())) plain->selectAll();
  UpdateDefaultLook(control->widget);
}

void DialogState::FocusFirstTabStop() {
  for (const auto& control : controls) {
    if ((control->style & WS_TABSTOP) && control->widget->isEnabled() &&
        !control->widget->isHidden()) {
      FocusControl(control.get());
      return;
    }
  }
}

void DialogState::PressButton(int id) {
  HWND button = Find(id);
  if (button == nullptr) {
    DeliverFromEventLoop(&self, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return;
  }
  auto* pressable = qobject_cast<QAbstractButton*>(button->widget.data());
  if (pressable != nullptr && pressable->isEnabled()) pressable->click();
}

void DialogState::ShowSystemMenu(const QPoint& globalPos) {
  systemMenu.impl->menu.popup(globalPos);
}

void DialogState::MapDialogRect(RECT& rect) const {
  rect.left = MulDiv(rect.left, baseX, 4);
  rect.right = MulDiv(rect.right, baseX, 4);
  rect.top = MulDiv(rect.top, baseY, 8);
  rect.bottom = MulDiv(rect.bottom, baseY, 8);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd != nullptr) return;
  CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
  if (item != nullptr) AttachWindow(control, item->m_hWnd);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
  if (item == nullptr) return;
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(item->SendMessage(BM_GETCHECK));
  } else {
    item->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
  }
}

CDialog::CDialog(const DialogTemplate& tmpl, CWnd* parent) : m_template(tmpl), m_pParent(parent) {}

CDialog::~CDialog() { Destroy(); }

void CDialog::Create() {
  Destroy();
  QWidget* parent = m_pParent != nullptr && m_pParent->m_hWnd != nullptr
                        ? m_pParent->m_hWnd->widget.data()
                        : RunningDialogWidget();
  m_state = std::make_unique<DialogState>(*this, m_template, parent);
  AttachWindow(*this, &m_state->self);
  g_running.push_back(m_state.get());
  m_state->widget->setWindowModality(Qt::ApplicationModal);
  BOOL focusFirst = TRUE;
  try {
    focusFirst = OnInitDialog();
  } catch (...) {
    AfxMessageBox(DescribeFailure(), MB_ICONSTOP);
  }
  if (focusFirst) m_state->FocusFirstTabStop();
}

void CDialog::Destroy() {
  if (m_state == nullptr) return;
  std::erase(g_running, m_state.get());
  m_state.reset();
}

int CDialog::DoModal() {
  Create();
  QWidget* owner = m_state->widget->parentWidget();
  if (!m_state->ended) m_state->widget->exec();
  const int result = m_state->result;
  Destroy();
  ReturnActivationTo(owner);
  return result;
}

void CDialog::EndDialog(int result) {
  if (m_state == nullptr) return;
  m_state->result = result;
  m_state->ended = true;
  m_state->widget->done(result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::MapDialogRect(RECT& rect) const {
  if (m_state != nullptr) m_state->MapDialogRect(rect);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_state == nullptr) return 0;
  switch (message) {
    case WM_CLOSE: {
      HWND cancel = m_state->Find(IDCANCEL);
      if (cancel == nullptr || cancel->widget->isEnabled()) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    case DM_SETDEFID:
      m_state->SetDefId(static_cast<int>(wParam));
      return TRUE;
    case DM_GETDEFID:
      return static_cast<LRESULT>(MAKEWPARAM(static_cast<UINT>(m_state->defId), DC_HASDEFID));
    case WM_NEXTDLGCTL:
      // Only the form that names the control (lParam TRUE) is used here.
      if (lParam != 0) m_state->FocusControl(reinterpret_cast<HWND>(wParam));
      return 0;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}

int AfxMessageBox(const std::string& text, UINT type) {
  QMessageBox::Icon icon = QMessageBox::Warning;
  switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
      icon = QMessageBox::Critical;
      break;
    case MB_ICONQUESTION:
      icon = QMessageBox::Question;
      break;
    case MB_ICONINFORMATION:
      icon = QMessageBox::Information;
      break;
    default:
      break;
  }
  QWidget* owner = RunningDialogWidget();
  QMessageBox box(icon, QCoreApplication::applicationName(), ToQString(text), QMessageBox::Ok,
                  owner);
  box.exec();
  ReturnActivationTo(owner);
  return IDOK;
}
