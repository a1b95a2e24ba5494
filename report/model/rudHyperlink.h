#pragma once
// The hyperlink record of a visible object.

#include "report/model/rudEnums.h"
#include "report/model/rudPropInfo.h"

// Where a click on the object in the preview leads.
class TfrxHyperlink : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(rudEnums::TfrxHyperlinkKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(QString DetailReport READ DetailReport WRITE SetDetailReport)
    Q_PROPERTY(QString DetailPage READ DetailPage WRITE SetDetailPage)
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(QString ReportVariable READ ReportVariable WRITE SetReportVariable)
    Q_PROPERTY(QString TabCaption READ TabCaption WRITE SetTabCaption)
    Q_PROPERTY(QString Value READ Value WRITE SetValue)
    Q_PROPERTY(QString ValuesSeparator READ ValuesSeparator WRITE SetValuesSeparator)
public:
    static TfrxPropDescs PropDescs();
    void Assign(const TfrxHyperlink &Source);
    bool operator==(const TfrxHyperlink &Other) const;

    TfrxHyperlinkKind Kind() const { return FKind; }
    void SetKind(TfrxHyperlinkKind Value) { FKind = Value; }
    const QString &DetailReport() const { return FDetailReport; }
    void SetDetailReport(const QString &Value) { FDetailReport = Value; }
    const QString &DetailPage() const { return FDetailPage; }
    void SetDetailPage(const QString &Value) { FDetailPage = Value; }
    const QString &Expression() const { return FExpression; }
    void SetExpression(const QString &Value) { FExpression = Value; }
    const QString &ReportVariable() const { return FReportVariable; }
    void SetReportVariable(const QString &Value) { FReportVariable = Value; }
    const QString &TabCaption() const { return FTabCaption; }
    void SetTabCaption(const QString &Value) { FTabCaption = Value; }
    const QString &Value() const { return FValue; }
    void SetValue(const QString &Value) { FValue = Value; }
    const QString &ValuesSeparator() const { return FValuesSeparator; }
    void SetValuesSeparator(const QString &Value) { FValuesSeparator = Value; }

private:
    TfrxHyperlinkKind FKind = hkURL;
    QString FDetailReport, FDetailPage, FExpression, FReportVariable, FTabCaption, FValue;
    QString FValuesSeparator = QStringLiteral(";");
};
