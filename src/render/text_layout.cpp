#include "render/text_layout.h"

#include <algorithm>

FixedPitchLayout layoutFixedPitch(const std::vector<float>& advances)
{
    FixedPitchLayout layout;
    if (advances.empty())
        return layout;
    layout.cell = *std::max_element(advances.begin(), advances.end());
    layout.x.reserve(advances.size());
    for (size_t i = 0; i < advances.size(); ++i)
        layout.x.push_back((layout.cell - advances[i]) * 0.5f + static_cast<float>(i) * layout.cell);
    return layout;
}

float fixedPitchWidth(const std::vector<float>& advances)
{
    if (advances.empty())
        return 0.0f;
    return static_cast<float>(advances.size()) * *std::max_element(advances.begin(), advances.end());
}
