#pragma once
// The results view of the Windows dialog: the template's frame control 1019,
// taken over so that it paints one of two off-screen images, the graph or
// the text results, drawn by the view's rules (ResultDrawing) into GDI
// bitmaps. Passes arrive on the worker thread and are drawn into the images
// there; the dialog's thread only copies one image to the screen.

#include "engine/RunObservers.h"
#include "view/GdiCanvas.h"
#include "view/ResultDrawing.h"

#include <windows.h>

#include <atomic>
#include <memory>

namespace kel {

class WinResultView : public PassResultSink {
public:
    WinResultView() = default;
    WinResultView(const WinResultView&) = delete;
    WinResultView& operator=(const WinResultView&) = delete;
    ~WinResultView() override;

    // Takes over the control: its client size is the images' size.
    void Attach(HWND control);

    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;
    void AddPassFigures(const PassFigures& figures) override;
    // Nonzero shows the graph, 0 the text.
    void SetDisplayMode(int showGraph);
    int HasResults() const;
    // The images; null before Attach.
    const ResultDrawing* Drawing() const { return m_drawing.get(); }

private:
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    HWND m_control = nullptr;
    WNDPROC m_previousProc = nullptr;
    std::unique_ptr<ResultDrawing> m_drawing;
    std::atomic<int> m_showGraph {1};
};

}  // namespace kel
