#include "engine/PassFigures.h"

namespace kel {

void KindFigures::Add(const PassFigures& figures)
{
    if (!any || figures.stall.seconds > stall.seconds) {
        stallPass = figures.passNumber;
        stall = figures.stall;
    }
    any = true;
    const StreamFigure& next = figures.stream;
    const bool worse = next.fallsBehind ? !stream.fallsBehind : !stream.fallsBehind && next.bufferBytes > stream.bufferBytes;
    if (next.judged && (!stream.judged || worse)) {
        streamPass = figures.passNumber;
        stream = next;
    }
    if (figures.cliff.found && cliffPass == 0) {
        cliffPass = figures.passNumber;
        cliff = figures.cliff;
    }
}

}  // namespace kel
