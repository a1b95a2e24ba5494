#pragma once
// The enumerations and sets of the report objects. They live in one Qt
// namespace so that the meta-object system knows their identifiers (the
// template writes `haCenter`, the inspector lists them); the header brings the
// identifiers into the global scope, as report code uses them bare.

#include <QFlags>
#include <QObject>

namespace rudEnums {
Q_NAMESPACE

enum TfrxAlign { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
Q_ENUM_NS(TfrxAlign)

enum TfrxShiftMode { smDontShift, smAlways, smWhenOverlapped };
Q_ENUM_NS(TfrxShiftMode)

enum TfrxStretchMode { smDontStretch, smActualHeight, smMaxHeight };
Q_ENUM_NS(TfrxStretchMode)

enum TfrxRestriction { rfDontModify = 1, rfDontSize = 2, rfDontMove = 4, rfDontDelete = 8, rfDontEdit = 16 };
Q_DECLARE_FLAGS(TfrxRestrictions, TfrxRestriction)
Q_FLAG_NS(TfrxRestrictions)

enum TfrxVisibilityType { vsPreview = 1, vsExport = 2, vsPrint = 4 };
Q_DECLARE_FLAGS(TfrxVisibilityTypes, TfrxVisibilityType)
Q_FLAG_NS(TfrxVisibilityTypes)

enum TfrxComponentStyle { csContainer = 1, csPreviewVisible = 2, csDefaultDiff = 4, csHandlesNestedProperties = 8 };
Q_DECLARE_FLAGS(TfrxComponentStyles, TfrxComponentStyle)
Q_FLAG_NS(TfrxComponentStyles)

enum TfrxFrameStyle { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
Q_ENUM_NS(TfrxFrameStyle)

enum TfrxFrameType { ftLeft = 1, ftRight = 2, ftTop = 4, ftBottom = 8 };
Q_DECLARE_FLAGS(TfrxFrameTypes, TfrxFrameType)
Q_FLAG_NS(TfrxFrameTypes)

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
Q_ENUM_NS(TBrushStyle)

enum TfrxGradientStyle { gsHorizontal, gsVertical, gsElliptic, gsRectangle, gsVertCenter, gsHorizCenter };
Q_ENUM_NS(TfrxGradientStyle)

enum TfrxFillOrientation { foVertical, foHorizontal, foVerticalMirror, foHorizontalMirror };
Q_ENUM_NS(TfrxFillOrientation)

enum TfrxFillType { ftBrush, ftGradient, ftGlass };
Q_ENUM_NS(TfrxFillType)

enum TfrxHyperlinkKind { hkURL, hkAnchor, hkPageNumber, hkDetailReport, hkDetailPage, hkCustom };
Q_ENUM_NS(TfrxHyperlinkKind)

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)

enum TFontPitch { fpDefault, fpVariable, fpFixed };
Q_ENUM_NS(TFontPitch)

enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
Q_ENUM_NS(TFontQuality)

enum TfrxHAlign { haLeft, haRight, haCenter, haBlock };
Q_ENUM_NS(TfrxHAlign)

enum TfrxVAlign { vaTop, vaBottom, vaCenter };
Q_ENUM_NS(TfrxVAlign)

enum TfrxFormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };
Q_ENUM_NS(TfrxFormatKind)

enum TPrinterOrientation { poPortrait, poLandscape };
Q_ENUM_NS(TPrinterOrientation)

enum TfrxDuplexMode { dmNone, dmVertical, dmHorizontal, dmSimplex };
Q_ENUM_NS(TfrxDuplexMode)

enum TfrxPreviewButton {
    pbPrint = 0x1, pbLoad = 0x2, pbSave = 0x4, pbExport = 0x8, pbZoom = 0x10, pbFind = 0x20,
    pbOutline = 0x40, pbPageSetup = 0x80, pbTools = 0x100, pbEdit = 0x200, pbNavigator = 0x400,
    pbExportQuick = 0x800, pbNoClose = 0x1000, pbNoFullScreen = 0x2000, pbNoEmail = 0x4000
};
Q_DECLARE_FLAGS(TfrxPreviewButtons, TfrxPreviewButton)
Q_FLAG_NS(TfrxPreviewButtons)

enum TfrxZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
Q_ENUM_NS(TfrxZoomMode)

enum TfrxPrintMode { pmDefault, pmSplit, pmJoin, pmScale };
Q_ENUM_NS(TfrxPrintMode)

enum TfrxPrintPages { ppAll, ppOdd, ppEven };
Q_ENUM_NS(TfrxPrintPages)

enum TfrxSilentMode { simMessageBoxes, simSilent, simReThrow };
Q_ENUM_NS(TfrxSilentMode)

} // namespace rudEnums

Q_DECLARE_OPERATORS_FOR_FLAGS(rudEnums::TfrxRestrictions)
Q_DECLARE_OPERATORS_FOR_FLAGS(rudEnums::TfrxVisibilityTypes)
Q_DECLARE_OPERATORS_FOR_FLAGS(rudEnums::TfrxComponentStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(rudEnums::TfrxFrameTypes)
Q_DECLARE_OPERATORS_FOR_FLAGS(rudEnums::TFontStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(rudEnums::TfrxPreviewButtons)

using namespace rudEnums;
