// Long commands of the windows (adding sources, generating) run on a worker thread while a
// small progress window shows what is being done, with a progress bar and 取消. The window
// that started the work is disabled meanwhile, as under any modal dialog: nothing the user
// clicks is queued behind the work, and the windows keep painting.
#pragma once

#include "app/work_progress.h"
#include "ui/services.h"

#include <windows.h>

#include <functional>
#include <string>

// What tests watch of a run: the worker about to start the work and each report it makes
// (a test holds it at either), and the progress window shown (on the window's thread).
class IWorkObserver {
public:
    virtual ~IWorkObserver() = default;
    virtual void OnWorkStarting() {}
    virtual void OnWorkReported(const CWorkProgress::Snapshot& report) {}
    virtual void OnProgressShown(HWND progressWindow) {}
};

// Runs work(progress) on a worker thread. The progress window, captioned caption and owned
// by owner, appears only when the work takes longer than a glance (kProgressDelayMs): a
// small file is added without a window flashing up. Returns true when the work ran to its
// end, false when the user cancelled it (取消, Esc or the window's close box: the work
// stops at its next report with WorkCancelled). Any other exception of the work is
// rethrown here, on the calling thread.
bool RunWork(HWND owner, ui::IServices& services, const std::string& caption,
             const std::function<void(CWorkProgress&)>& work, IWorkObserver* observer = nullptr);

inline constexpr unsigned kProgressDelayMs = 200;
