#pragma once
// The option records a report owns: preparation (EngineOptions), preview,
// printing and the report's own description (ReportOptions).

#include "report/model/rudEnums.h"
#include "report/model/rudPicture.h"
#include "report/model/rudPropInfo.h"

#include "base/DateTime.h"

#include <QStringList>
#include <memory>

class TfrxReport;

#define RUD_FIELD(Type, N, Init)                                                                                     \
public:                                                                                                              \
    Type N() const { return F##N; }                                                                                 \
    void Set##N(Type Value) { F##N = Value; }                                                                       \
                                                                                                                     \
private:                                                                                                             \
    Type F##N = Init;

// How the report is prepared and how its errors are reported.
class TfrxEngineOptions : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(bool ConvertNulls READ ConvertNulls WRITE SetConvertNulls)
    Q_PROPERTY(bool DoublePass READ DoublePass WRITE SetDoublePass)
    Q_PROPERTY(int MaxMemSize READ MaxMemSize WRITE SetMaxMemSize)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
    Q_PROPERTY(bool SilentMode READ SilentMode WRITE SetSilentMode)
    Q_PROPERTY(rudEnums::TfrxSilentMode NewSilentMode READ NewSilentMode WRITE SetNewSilentMode)
    Q_PROPERTY(QString TempDir READ TempDir WRITE SetTempDir)
    Q_PROPERTY(bool UseFileCache READ UseFileCache WRITE SetUseFileCache)
    Q_PROPERTY(bool IgnoreDevByZero READ IgnoreDevByZero WRITE SetIgnoreDevByZero)
public:
    static TfrxPropDescs PropDescs();
    void Assign(const TfrxEngineOptions &Source);
    // Resets what clearing a report resets: ConvertNulls, IgnoreDevByZero, DoublePass.
    void Clear();
    // True exactly when NewSilentMode is simSilent.
    bool SilentMode() const { return FNewSilentMode == simSilent; }
    void SetSilentMode(bool Value) { FNewSilentMode = Value ? simSilent : simMessageBoxes; }

    RUD_FIELD(bool, ConvertNulls, true)
    RUD_FIELD(bool, DoublePass, false)
    RUD_FIELD(int, MaxMemSize, 10)
    RUD_FIELD(bool, PrintIfEmpty, true)
    RUD_FIELD(TfrxSilentMode, NewSilentMode, simMessageBoxes)
    RUD_FIELD(QString, TempDir, QString())
    RUD_FIELD(bool, UseFileCache, false)
    RUD_FIELD(bool, IgnoreDevByZero, false)
    RUD_FIELD(bool, EnableThreadSafe, false)
    RUD_FIELD(bool, UseGlobalDataSetList, true)
    RUD_FIELD(bool, DestroyForms, true)
};

// How the preview window looks.
class TfrxPreviewOptions : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(rudEnums::TfrxPreviewButtons Buttons READ Buttons WRITE SetButtons)
    Q_PROPERTY(bool DoubleBuffered READ DoubleBuffered WRITE SetDoubleBuffered)
    Q_PROPERTY(bool Maximized READ Maximized WRITE SetMaximized)
    Q_PROPERTY(bool MDIChild READ MDIChild WRITE SetMDIChild)
    Q_PROPERTY(bool Modal READ Modal WRITE SetModal)
    Q_PROPERTY(bool OutlineExpand READ OutlineExpand WRITE SetOutlineExpand)
    Q_PROPERTY(bool OutlineVisible READ OutlineVisible WRITE SetOutlineVisible)
    Q_PROPERTY(int OutlineWidth READ OutlineWidth WRITE SetOutlineWidth)
    Q_PROPERTY(int PagesInCache READ PagesInCache WRITE SetPagesInCache)
    Q_PROPERTY(bool ThumbnailVisible READ ThumbnailVisible WRITE SetThumbnailVisible)
    Q_PROPERTY(bool ShowCaptions READ ShowCaptions WRITE SetShowCaptions)
    Q_PROPERTY(double Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(rudEnums::TfrxZoomMode ZoomMode READ ZoomMode WRITE SetZoomMode)
    Q_PROPERTY(bool PictureCacheInFile READ PictureCacheInFile WRITE SetPictureCacheInFile)
public:
    static TfrxPropDescs PropDescs();
    void Assign(const TfrxPreviewOptions &Source);
    // Resets what clearing a report resets (the outline, cache and thumbnails).
    void Clear();

    RUD_FIELD(bool, AllowEdit, true)
    RUD_FIELD(TfrxPreviewButtons, Buttons, TfrxPreviewButtons(0xFFF))
    RUD_FIELD(bool, DoubleBuffered, true)
    RUD_FIELD(bool, Maximized, true)
    RUD_FIELD(bool, MDIChild, false)
    RUD_FIELD(bool, Modal, true)
    RUD_FIELD(bool, OutlineExpand, true)
    RUD_FIELD(bool, OutlineVisible, false)
    RUD_FIELD(int, OutlineWidth, 120)
    RUD_FIELD(int, PagesInCache, 50)
    RUD_FIELD(bool, ThumbnailVisible, false)
    RUD_FIELD(bool, ShowCaptions, false)
    RUD_FIELD(double, Zoom, 1)
    RUD_FIELD(TfrxZoomMode, ZoomMode, zmDefault)
    RUD_FIELD(bool, PictureCacheInFile, false)
};

// How the report is printed.
class TfrxPrintOptions : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(int Copies READ Copies WRITE SetCopies)
    Q_PROPERTY(bool Collate READ Collate WRITE SetCollate)
    Q_PROPERTY(QString PageNumbers READ PageNumbers WRITE SetPageNumbers)
    Q_PROPERTY(QString Printer READ Printer WRITE SetPrinter)
    Q_PROPERTY(rudEnums::TfrxPrintMode PrintMode READ PrintMode WRITE SetPrintMode)
    Q_PROPERTY(int PrintOnSheet READ PrintOnSheet WRITE SetPrintOnSheet)
    Q_PROPERTY(rudEnums::TfrxPrintPages PrintPages READ PrintPages WRITE SetPrintPages)
    Q_PROPERTY(bool Reverse READ Reverse WRITE SetReverse)
    Q_PROPERTY(bool ShowDialog READ ShowDialog WRITE SetShowDialog)
    Q_PROPERTY(bool SwapPageSize READ SwapPageSize WRITE SetSwapPageSize STORED false)
public:
    TfrxPrintOptions();
    static TfrxPropDescs PropDescs();
    void Assign(const TfrxPrintOptions &Source);
    // Every field but SwapPageSize back to its default.
    void Clear();

    RUD_FIELD(int, Copies, 1)
    RUD_FIELD(bool, Collate, true)
    RUD_FIELD(QString, PageNumbers, QString())
    RUD_FIELD(QString, Printer, QString())
    RUD_FIELD(TfrxPrintMode, PrintMode, pmDefault)
    RUD_FIELD(int, PrintOnSheet, 0)
    RUD_FIELD(TfrxPrintPages, PrintPages, ppAll)
    RUD_FIELD(bool, Reverse, false)
    RUD_FIELD(bool, ShowDialog, true)
    RUD_FIELD(bool, SwapPageSize, false)
    RUD_FIELD(int, PagesOnSheet, 0)
    RUD_FIELD(int, SplicingLine, 3)
    RUD_FIELD(int, Duplex, 0)
    // The file a job is printed to instead of the printer (empty: the printer).
    RUD_FIELD(QString, PrnOutFileName, QString())
};

// What the report says about itself: author, dates, description, icon,
// version and password.
class TfrxReportOptions : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Author READ Author WRITE SetAuthor)
    Q_PROPERTY(bool Compressed READ Compressed WRITE SetCompressed)
    Q_PROPERTY(QString ConnectionName READ ConnectionName WRITE SetConnectionName)
    Q_PROPERTY(double CreateDate READ CreateDate WRITE SetCreateDate)
    Q_PROPERTY(QStringList Description READ Description WRITE SetDescription)
    Q_PROPERTY(QString InitString READ InitString WRITE SetInitString)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(double LastChange READ LastChange WRITE SetLastChange)
    Q_PROPERTY(QString Password READ Password WRITE SetPassword)
    Q_PROPERTY(TfrxPicture *Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(QString VersionBuild READ VersionBuild WRITE SetVersionBuild)
    Q_PROPERTY(QString VersionMajor READ VersionMajor WRITE SetVersionMajor)
    Q_PROPERTY(QString VersionMinor READ VersionMinor WRITE SetVersionMinor)
    Q_PROPERTY(QString VersionRelease READ VersionRelease WRITE SetVersionRelease)
public:
    TfrxReportOptions();
    ~TfrxReportOptions() override;
    static TfrxPropDescs PropDescs();
    // Resets the fields (the descriptive ones only unless Info is set).
    void Clear();

    TfrxPicture *Picture() const { return FPicture.get(); }
    void SetPicture(TfrxPicture *Value);
    // The report whose password this is (errors of CheckPassword go to it).
    TfrxReport *Report() const { return FReport; }
    void SetReport(TfrxReport *Value) { FReport = Value; }
    // Passes without asking when there is no password or it equals
    // PrevPassword or HiddenPassword; otherwise asks for it (caption
    // "Password"). Passing makes Password the PrevPassword. Cancelling or a
    // wrong text fails: "Invalid password" joins the report's Errors, which
    // go to rudCommonErrorHandler (and so may raise in simReThrow mode).
    bool CheckPassword();

    RUD_FIELD(QString, Author, QString())
    RUD_FIELD(bool, Compressed, false)
    RUD_FIELD(QString, ConnectionName, QString())
    RUD_FIELD(TDateTime, CreateDate, 0)
    RUD_FIELD(QStringList, Description, QStringList())
    RUD_FIELD(QString, InitString, QString())
    RUD_FIELD(QString, Name, QString())
    RUD_FIELD(TDateTime, LastChange, 0)
    RUD_FIELD(QString, Password, QString())
    RUD_FIELD(QString, VersionBuild, QString())
    RUD_FIELD(QString, VersionMajor, QString())
    RUD_FIELD(QString, VersionMinor, QString())
    RUD_FIELD(QString, VersionRelease, QString())
    RUD_FIELD(QString, HiddenPassword, QString())
    RUD_FIELD(QString, PrevPassword, QString())
    RUD_FIELD(bool, Info, false)

private:
    std::unique_ptr<TfrxPicture> FPicture;
    TfrxReport *FReport = nullptr;
};

#undef RUD_FIELD
