// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "render/DeviceContext.h"

#include <string>
#include <vector>

// Draws as the program does and notes every label it is given, with its rectangle: what a scene
// says, and where, without reading it back from pixels.
class LabelRecorder : public DeviceContext {
public:
    struct Label {
        std::string text;
        Rect rect;
        // The font's pixel size, in logical pixels.
        int pixelSize = 0;
    };

    using DeviceContext::DeviceContext;

    void DrawText(const std::string& text, const Rect& rect, TextAlign align) override
    {
        // An empty rectangle shows nothing.
        if (!IsRectEmpty(rect))
            labels.push_back(Label{text, rect, GetFont().pixelSize});
        DeviceContext::DrawText(text, rect, align);
    }

    bool Says(const std::string& text) const
    {
        for (const Label& label : labels)
            if (label.text == text)
                return true;
        return false;
    }

    std::vector<Label> labels;
};
