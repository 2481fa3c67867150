#include "main/refresh_rate.h"

#include <algorithm>

int windowRefreshRate(const std::vector<MonitorMode>& monitors, int filled, bool placed, int centreX,
                      int centreY)
{
    if (filled >= 0 && filled < static_cast<int>(monitors.size()))
        return monitors[static_cast<size_t>(filled)].refreshRate;
    if (placed)
        for (const MonitorMode& m : monitors)
            if (centreX >= m.x && centreX < m.x + m.width && centreY >= m.y && centreY < m.y + m.height)
                return m.refreshRate;
    int fastest = 0;
    for (const MonitorMode& m : monitors)
        fastest = std::max(fastest, m.refreshRate);
    return fastest;
}
