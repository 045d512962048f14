// COleDateTime: an OLE Automation date (days since 30 December 1899, the fraction the time of
// day) with a status: valid, invalid, or null (no value, as a NULL column is).
#pragma once

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    explicit COleDateTime(double date) : m_dt(date), m_status(valid) {}

    // The local time now, to the second.
    static COleDateTime Now();

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    double GetDate() const { return m_dt; }
    COleDateTime& operator=(double date)
    {
        m_dt = date;
        m_status = valid;
        return *this;
    }

    double m_dt = 0;
    DateTimeStatus m_status = valid;
};
