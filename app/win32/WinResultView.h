#pragma once
// The results view of the Windows dialog: the template's frame control 1019,
// taken over so that it paints one of two off-screen images, the graph or
// the text results. Passes arrive on the worker thread and are drawn into the
// images there; the dialog's thread only copies one image to the screen.

#include "engine/RunObservers.h"

#include <windows.h>

#include <mutex>

namespace kel {

class WinResultView : public PassResultSink {
public:
    WinResultView() = default;
    WinResultView(const WinResultView&) = delete;
    WinResultView& operator=(const WinResultView&) = delete;
    ~WinResultView() override;

    // Takes over the control: its size is the images' size.
    void Attach(HWND control);

    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;
    // Nonzero shows the graph, 0 the text.
    void SetDisplayMode(int showGraph);
    int HasResults() const;
    int ShowsGraph() const { return m_showGraph; }

private:
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    HWND m_control = nullptr;
    WNDPROC m_previousProc = nullptr;
    mutable std::mutex m_lock;
    int m_hasResults = 0;
    int m_showGraph = 1;
};

}  // namespace kel
