// Drives modal dialogs from inside their own message loops, as a user would:
// steps run one after another on a thread timer, and message boxes are noted
// and answered.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct SeenBox {
  std::wstring title;
  std::wstring text;
  HWND owner = nullptr;
  HICON icon = nullptr;  // what the box shows
};

class ModalDriver {
 public:
  ModalDriver();
  ~ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // An action: runs once. It may enter a modal loop of its own (a click that
  // opens a box); the steps after it then run inside that loop.
  ModalDriver& Do(std::function<void()> action);
  // A condition waited for: polled on each tick until it holds. Must not block.
  ModalDriver& WaitFor(std::function<bool()> condition);

  // Runs modal, which returns when its dialog has ended. True when it ended
  // with every step done before the limit; past the limit every dialog of
  // the thread is ended, so that a stuck test fails instead of hanging.
  bool Run(const std::function<void()>& modal, DWORD limitMs = 15000);

  // Message boxes are the dialogs titled so; each is answered with answer.
  std::wstring boxTitle = L"Orlimar";
  int answer = IDOK;
  std::vector<SeenBox> boxes;
  bool timedOut = false;

 private:
  struct Step {
    std::function<bool()> poll;
    bool action;
  };
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void OnTick();
  void AnswerBoxes();
  void EndEverything();

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool polling_ = false;
  std::set<HWND> answered_;
  UINT_PTR timer_ = 0;
  ULONGLONG deadline_ = 0;
};

// The thread's visible top-level dialogs, most recent first.
std::vector<HWND> ThreadDialogs();
std::wstring WindowText(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
