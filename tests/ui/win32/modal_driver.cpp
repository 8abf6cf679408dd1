// The modal driver: a thread timer, whose ticks every message loop of the
// thread delivers, the dialog's and the message boxes' alike.
#include "tests/ui/win32/modal_driver.h"

namespace {

ModalDriver* g_driver = nullptr;

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
  if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  }
  return TRUE;
}

HICON IconOf(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  return nullptr;
}

// The message text: the box's static that is not its icon.
std::wstring TextOf(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      return WindowText(child);
    }
  }
  return {};
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::vector<HWND> ThreadDialogs() {
  std::vector<HWND> list;
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&list));
  return list;
}

ModalDriver::ModalDriver() { g_driver = this; }

ModalDriver::~ModalDriver() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  if (g_driver == this) g_driver = nullptr;
}

ModalDriver& ModalDriver::Do(std::function<void()> action) {
  steps_.push_back({[action = std::move(action)] {
                      action();
                      return true;
                    },
                    true});
  return *this;
}

ModalDriver& ModalDriver::WaitFor(std::function<bool()> condition) {
  steps_.push_back({std::move(condition), false});
  return *this;
}

bool ModalDriver::Run(const std::function<void()>& modal, DWORD limitMs) {
  deadline_ = GetTickCount64() + limitMs;
  timer_ = SetTimer(nullptr, 0, 10, &ModalDriver::Tick);
  modal();
  KillTimer(nullptr, timer_);
  timer_ = 0;
  return !timedOut && next_ == steps_.size();
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_driver != nullptr) g_driver->OnTick();
}

void ModalDriver::OnTick() {
  if (timedOut) return;
  if (GetTickCount64() > deadline_) {
    timedOut = true;
    EndEverything();
    return;
  }
  AnswerBoxes();
  if (polling_ || next_ >= steps_.size()) return;
  Step& step = steps_[next_];
  if (step.action) {
    // Counted as done before it runs: what it opens is driven by the next steps.
    ++next_;
    step.poll();
    return;
  }
  polling_ = true;
  if (step.poll()) ++next_;
  polling_ = false;
}

void ModalDriver::AnswerBoxes() {
  // A handle may come back for a later window once its box has gone.
  std::erase_if(answered_, [](HWND box) { return !IsWindow(box); });
  for (HWND box : ThreadDialogs()) {
    if (WindowText(box) != boxTitle || answered_.contains(box)) continue;
    answered_.insert(box);
    boxes.push_back({WindowText(box), TextOf(box), GetWindow(box, GW_OWNER), IconOf(box)});
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  }
}

void ModalDriver::EndEverything() {
  for (HWND dialog : ThreadDialogs()) EndDialog(dialog, 0);
}
