#pragma once

// CRenderEngine: drawing on the HDC handed to DoPaint. Colours are 0xAARRGGBB.

#include "uilib/core/Defines.h"

namespace UiLib {

class CPaintManagerUI;

class CRenderEngine {
public:
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    // A line from (rc.left, rc.top) to (rc.right, rc.bottom).
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height,
                              DWORD dwPenColor);
    static void FillRoundRect(HDC hDC, const RECT& rc, int width, int height, DWORD color);

    // Draws an image string: a bare file name or an attribute list
    // "file='a.png' source='l,t,r,b' corner='l,t,r,b' dest='l,t,r,b' fade='255'".
    // `modify` (optional) is an attribute list applied over it. The image is stretched to
    // rcItem unless dest is given. False when the image cannot be found or decoded.
    static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                                const RECT& rcPaint, LPCTSTR pStrImage,
                                LPCTSTR pStrModify = nullptr);
    // Pixel size of an image (0,0 when missing).
    static SIZE GetImageSize(CPaintManagerUI* pManager, LPCTSTR pStrImage);

    // Text in font iFont of the manager (-1: default font); uStyle takes DT_* flags.
    // With DT_CALCRECT nothing is drawn and rc receives the needed size.
    static void DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCTSTR pstrText,
                         DWORD dwTextColor, int iFont, UINT uStyle);
    // Text with the inline markup {f n}…{/f}, {c #AARRGGBB}…{/c}, {b}…{/b}, {n}.
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCTSTR pstrText,
                             DWORD dwTextColor, int iFont, UINT uStyle);
    // The size of a text drawn on one line (with markup when bHtml).
    static SIZE GetTextSize(CPaintManagerUI* pManager, LPCTSTR pstrText, int iFont,
                            bool bHtml = false);
    // Line height of a font.
    static int GetFontHeight(CPaintManagerUI* pManager, int iFont);
};

}  // namespace UiLib
