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
#include <string>
#include <vector>

namespace kel {

class WinResultView : public PassResultSink {
public:
    WinResultView() = default;
    WinResultView(const WinResultView&) = delete;
    WinResultView& operator=(const WinResultView&) = delete;
    ~WinResultView() override;

    // Takes over the control: its client size is the images' size. Each pass
    // drawn posts passDrawn to notified (from the worker thread).
    void Attach(HWND control, HWND notified, UINT passDrawn);

    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;
    void AddPassFigures(const PassFigures& figures) override;
    // Nonzero shows the graph, 0 the text.
    void SetDisplayMode(int showGraph);
    int HasResults() const;
    // Passes of other runs beneath this run's (ResultDrawing), and the
    // legend's names of the runs drawn.
    void AddComparedPass(int run, int passNumber, int passCount, const double* samples, int sampleCount,
                         bool isWrite);
    void ClearCompared();
    void SetRunNames(std::vector<std::string> names);
    // The graph redrawn on another scale.
    void SetScale(const GraphScale& scale);
    GraphScale Scale() const;
    DrawnPass LastPass() const;
    // The text image's values as lines of text.
    std::string ResultLines() const;
    // The images; null before Attach.
    const ResultDrawing* Drawing() const { return m_drawing.get(); }

private:
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    HWND m_control = nullptr;
    HWND m_notified = nullptr;
    UINT m_passDrawn = 0;
    WNDPROC m_previousProc = nullptr;
    std::unique_ptr<ResultDrawing> m_drawing;
    std::atomic<int> m_showGraph {1};
};

}  // namespace kel
