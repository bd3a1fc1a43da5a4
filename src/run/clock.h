// Calendar date and time, and the elapsed-time clock of a job.
#pragma once

#include <string>

namespace kestovar {

struct ModelStore;

struct DateTime {
  std::string date;  // yyyymmdd
  std::string time;  // hhmmss.sss
};

// The current local date and time.
DateTime now_date_time();

// Builds "    Date: dd/mm/yyyy  Time: hh:mm:ss.sss" padded to 70 characters.
std::string date_time_text(const DateTime& dt);
std::string date_ddmmyyyy(const DateTime& dt);
std::string time_hhmmss(const DateTime& dt);

// Reads the date and time, keeps the day of the month and rebuilds DateTimeText.
DateTime date_time(ModelStore& store);

// Days from the civil date yyyymmdd (any valid Gregorian date) to 1970-01-01.
long days_from_civil(int yyyymmdd);

// Elapsed seconds from a start (date, clock count) to an end (date, count) with the count
// rate; counts are taken since the start of the day, so whole days are added.
double elapsed_seconds(int start_date, long long start_count, int end_date, long long end_count,
                       long long rate);

// The calendar date (yyyymmdd) and the clock count since local midnight at the given rate
// (counts per second), both taken from the same instant so that a reading at midnight
// cannot pair one day's date with the next day's count.
struct ClockReading {
  int date = 0;
  long long count = 0;
};
ClockReading clock_reading(long long rate);

// mode 1 starts the clock; mode 2 writes the elapsed time. Other modes do nothing.
void cpu_clock(ModelStore& store, int mode);

}  // namespace kestovar
