#pragma once
// The network configuration report: a text of the host's and every adapter's IPv4 settings, appended
// piece by piece to a view, with query failures as lines of the view's message list.

#include "platform/IpHelper.h"

#include <QString>

// Where the report goes: the label's text, read and written for each piece, and the memo's lines.
class TReportView
{
public:
    virtual ~TReportView() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString &Text) = 0;
    virtual void AddLine(const QString &Line) = 0;
};

// Rebuilds the report from an empty text; stops at the first failure, leaving what was appended so far.
void RunNetworkReport(NetworkInfoSource &Source, TReportView &View);

// "Thu Jan 01 00:00:00 1970\n": unsigned seconds since 1970 in UTC, proleptic Gregorian calendar.
QString FormatLeaseTime(DWORD Seconds);
