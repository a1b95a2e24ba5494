#include "report/model/rudHyperlink.h"

TfrxPropDescs TfrxHyperlink::PropDescs()
{
    return {{"Kind", int(hkURL)}, {"ValuesSeparator", QStringLiteral(";")}};
}

void TfrxHyperlink::Assign(const TfrxHyperlink &Source)
{
    FKind = Source.FKind;
    FDetailReport = Source.FDetailReport;
    FDetailPage = Source.FDetailPage;
    FExpression = Source.FExpression;
    FReportVariable = Source.FReportVariable;
    FTabCaption = Source.FTabCaption;
    FValue = Source.FValue;
    FValuesSeparator = Source.FValuesSeparator;
}

bool TfrxHyperlink::operator==(const TfrxHyperlink &Other) const
{
    return FKind == Other.FKind && FDetailReport == Other.FDetailReport && FDetailPage == Other.FDetailPage &&
           FExpression == Other.FExpression && FReportVariable == Other.FReportVariable &&
           FTabCaption == Other.FTabCaption && FValue == Other.FValue && FValuesSeparator == Other.FValuesSeparator;
}
