#include "app/work_window.h"

#include "controls/icon_button.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/wide_text.h"

#include <commctrl.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace {

constexpr UINT kWorkEnded = WM_APP + 1;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT_PTR kShownTimer = 2;  // tells the observer once the window is on the screen
constexpr UINT kRefreshMs = 100;

// The worker's end as both threads see it: the window posts itself kWorkEnded once it
// exists and the work is over, whichever comes last.
class WorkEnd {
public:
    void SetWindow(HWND window)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hWnd = window;
        if (m_bEnded && window)
            PostMessageW(window, kWorkEnded, 0, 0);
    }
    void Ended()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bEnded = true;
        if (m_hWnd)
            PostMessageW(m_hWnd, kWorkEnded, 0, 0);
        m_ended.notify_all();
    }
    // True when the work ended within ms milliseconds.
    bool WaitFor(unsigned ms)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_ended.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_bEnded; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ended;
    HWND m_hWnd = nullptr;
    bool m_bEnded = false;
};

// Dialog IDD_PROGRESS: the step, a bar in thousandths, and 取消 as an icon button.
class CProgressDialog : public ui::Dialog {
public:
    CProgressDialog(ui::IServices& services, const std::string& caption, CWorkProgress& progress, WorkEnd& end,
                    IWorkObserver* observer)
        : ui::Dialog(IDD_PROGRESS, services), m_strCaption(caption), m_progress(progress), m_end(end),
          m_pObserver(observer)
    {
    }

protected:
    void ExchangeData(ui::DataExchange& exchange) override { exchange.Bind(IDCANCEL, m_btnCancel); }

    bool OnInitDialog() override
    {
        ui::Dialog::OnInitDialog();
        ui::SetWindowTextUtf8(GetHwnd(), m_strCaption);
        m_btnCancel.SetIcons(IDI_CLOSE, 0);
        m_btnCancel.ShiftColor(CIconButton::kHotBackground, 30, TRUE);
        SendDlgItemMessageW(GetHwnd(), IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 1000);
        Refresh();
        SetTimer(GetHwnd(), kRefreshTimer, kRefreshMs, nullptr);
        m_end.SetWindow(GetHwnd());
        if (m_pObserver)
            SetTimer(GetHwnd(), kShownTimer, 10, nullptr);
        return true;
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (message) {
        case WM_TIMER:
            if (wParam == kRefreshTimer) {
                Refresh();
            } else if (wParam == kShownTimer && IsWindowVisible(GetHwnd())) {
                KillTimer(GetHwnd(), kShownTimer);
                m_pObserver->OnProgressShown(GetHwnd());
            }
            return true;
        case kWorkEnded:
            KillTimer(GetHwnd(), kRefreshTimer);
            KillTimer(GetHwnd(), kShownTimer);
            m_end.SetWindow(nullptr);
            EndDialog(IDOK);
            return true;
        default:
            return false;
        }
    }

    // 取消, Esc and the close box: the work stops at its next report; the window stays
    // until it has.
    void OnCancel() override
    {
        if (m_progress.IsCancelled())
            return;
        m_progress.Cancel();
        EnableWindow(m_btnCancel.GetHwnd(), FALSE);
        Refresh();
    }

    void OnOK() override {}  // Enter does not end the work

private:
    void Refresh()
    {
        const CWorkProgress::Snapshot now = m_progress.Read();
        const std::string step = now.cancelled ? std::string("正在取消…") : now.step;
        if (step != m_strShownStep) {
            ui::SetWindowTextUtf8(GetItem(IDC_PROGRESS_TEXT), step);
            m_strShownStep = step;
        }
        SendDlgItemMessageW(GetHwnd(), IDC_PROGRESS_BAR, PBM_SETPOS, now.permille, 0);
    }

    std::string m_strCaption;
    CWorkProgress& m_progress;
    WorkEnd& m_end;
    IWorkObserver* m_pObserver;
    CIconButton m_btnCancel;
    std::string m_strShownStep;
};

} // namespace

bool RunWork(HWND owner, ui::IServices& services, const std::string& caption,
             const std::function<void(CWorkProgress&)>& work, IWorkObserver* observer)
{
    CWorkProgress progress;
    WorkEnd end;
    std::exception_ptr failure;
    bool cancelled = false;
    if (observer)
        progress.WatchReports([observer](const CWorkProgress::Snapshot& report) { observer->OnWorkReported(report); });

    // The owner takes no input from now on; a click made while the work runs is lost, not
    // carried out afterwards.
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    std::thread worker([&] {
        try {
            if (observer)
                observer->OnWorkStarting();
            work(progress);
        } catch (const WorkCancelled&) {
            cancelled = true;
        } catch (...) {
            failure = std::current_exception();
        }
        end.Ended();
    });

    // Quick work ends before any window is shown.
    if (!end.WaitFor(kProgressDelayMs)) {
        INITCOMMONCONTROLSEX controls {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        CProgressDialog dialog(services, caption, progress, end, observer);
        dialog.DoModal(owner);
    }
    worker.join();
    if (owner && ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (failure)
        std::rethrow_exception(failure);
    return !cancelled;
}
