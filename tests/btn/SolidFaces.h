#pragma once
// Gradient buttons with solid faces, so that each face shows by its colour.

#include "dxButton.h"

namespace solidfaces {

constexpr TColor Face = 0xEEEEEE, Background = 0x0000AA, Clicked = 0x00AA00, FocusedFace = 0xAA0000,
                 Highlight = 0x00AAAA, Line = 0x202020, Edges = 0x404040;

inline void MakeSolid(TdxButton *B)
{
    B->SetColor(Face);
    TdxColors *c = B->Colors();
    c->SetBackgroundFrom(Background);
    c->SetBackgroundTo(Background);
    c->SetClickedFrom(Clicked);
    c->SetClickedTo(Clicked);
    c->SetFocusedFrom(FocusedFace);
    c->SetFocusedTo(FocusedFace);
    c->SetHighlightFrom(Highlight);
    c->SetHighlightTo(Highlight);
    c->SetBorderLine(Line);
    c->SetBorderEdges(Edges);
    B->SetShowFocusRect(false);
}

} // namespace solidfaces
