#include "run/clock.h"

#include <chrono>
#include <ctime>

#include "run/messages.h"
#include "run/model_store.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

struct LocalNow {
  std::tm tm{};
  int millis = 0;
};

LocalNow local_now() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  LocalNow r;
  localtime_r(&t, &r.tm);
  r.millis = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return r;
}

std::string two(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

DateTime date_time_of(const LocalNow& n) {
  DateTime dt;
  std::string y = std::to_string(n.tm.tm_year + 1900);
  while (y.size() < 4) y = "0" + y;
  dt.date = y + two(n.tm.tm_mon + 1) + two(n.tm.tm_mday);
  std::string ms = std::to_string(n.millis);
  while (ms.size() < 3) ms = "0" + ms;
  dt.time = two(n.tm.tm_hour) + two(n.tm.tm_min) + two(n.tm.tm_sec) + "." + ms;
  return dt;
}

}  // namespace

DateTime now_date_time() {
  return date_time_of(local_now());
}

std::string date_ddmmyyyy(const DateTime& dt) {
  return dt.date.substr(6, 2) + "/" + dt.date.substr(4, 2) + "/" + dt.date.substr(0, 4);
}

std::string time_hhmmss(const DateTime& dt) {
  return dt.time.substr(0, 2) + ":" + dt.time.substr(2, 2) + ":" + dt.time.substr(4, 6);
}

std::string date_time_text(const DateTime& dt) {
  return text::pad("    Date: " + date_ddmmyyyy(dt) + "  Time: " + time_hhmmss(dt), 70);
}

DateTime date_time(ModelStore& store) {
  DateTime dt = now_date_time();
  store.run.StartDay = std::stoi(dt.date.substr(6, 2));
  store.run.DateTimeText = date_time_text(dt);
  return dt;
}

long days_from_civil(int yyyymmdd) {
  // Days since 1970-01-01 in the proleptic Gregorian calendar.
  long y = yyyymmdd / 10000;
  const unsigned m = static_cast<unsigned>(yyyymmdd / 100 % 100);
  const unsigned d = static_cast<unsigned>(yyyymmdd % 100);
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

double elapsed_seconds(int start_date, long long start_count, int end_date, long long end_count,
                       long long rate) {
  if (rate < 2) rate = 1;
  const long days = days_from_civil(end_date) - days_from_civil(start_date);
  return 86400.0 * static_cast<double>(days) - static_cast<double>(start_count) / rate +
         static_cast<double>(end_count) / rate;
}

ClockReading clock_reading(long long rate) {
  const LocalNow n = local_now();
  ClockReading r;
  r.date = std::stoi(date_time_of(n).date);
  const long long ms =
      ((n.tm.tm_hour * 60LL + n.tm.tm_min) * 60LL + n.tm.tm_sec) * 1000LL + n.millis;
  r.count = ms * rate / 1000;
  return r;
}

void cpu_clock(ModelStore& store, int mode) {
  if (mode == 1) {
    store.run.ClockRate = 1000;
    const ClockReading start = clock_reading(store.run.ClockRate);
    store.run.StartDate = start.date;
    store.run.ClockStart = start.count;
  } else if (mode == 2) {
    const ClockReading now = clock_reading(store.run.ClockRate);
    double seconds = elapsed_seconds(store.run.StartDate, store.run.ClockStart, now.date, now.count,
                                     store.run.ClockRate);
    float s = static_cast<float>(seconds);
    show_message(store, "");
    show_message(store, "");
    write_unit(store, unit::OUT, "");
    std::string l1 = std::string(10, ' ') + "    CPU Time:" + text::fmt_f(s, 10, 3) + " seconds";
    std::string l2 =
        std::string(10, ' ') + "             " + text::fmt_f(s * 0.016666668f, 10, 3) + " minutes";
    write_unit(store, store.MessageUnit, l1);
    write_unit(store, store.MessageUnit, l2);
    write_out_sum(store, l1);
    write_out_sum(store, l2);
  }
}

}  // namespace kestovar
