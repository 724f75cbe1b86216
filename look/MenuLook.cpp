#include "look/MenuLook.h"

#include "win/Dpi.h"

void ApplyMenuLook(xpmenu::TXPMenu& xp) {
    using namespace xpmenu;
    xp.DimLevel = 30;
    xp.GrayLevel = 10;
    LOGFONTW font = xp.FontSpec();
    // 9 points at 96 DPI; the painter makes the font for its form's DPI.
    font.lfHeight = win::FontHeightForPoints(9, win::kDesignDpi);
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = font.lfUnderline = font.lfStrikeOut = 0;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"宋体", LF_FACESIZE);
    xp.SetFont(font, clMenuText);
    xp.SetColor(clBtnFace);
    xp.SetIconBackColor(clBtnFace);
    xp.SetMenuBarColor(clBtnFace);
    xp.SetSelectColor(clHighlight);
    xp.SetSelectBorderColor(clHighlight);
    xp.SetSelectFontColor(clMenuText);
    xp.SetDisabledColor(clInactiveCaption);
    xp.SetSeparatorColor(clBtnFace);
    xp.SetCheckedColor(clHighlight);
    xp.IconWidth = 24;
    xp.DrawSelect = true;
    xp.SetUseSystemColors(true);
    xp.UseDimColor = false;
    xp.SetOverrideOwnerDraw(false);
    xp.Gradient = false;
    xp.FlatMenu = false;
    xp.DrawMenuBar = false;
    xp.SetActive(true);
}
