// The run timer: minute and second of the local time of day, and the elapsed
// time between two readings, modulo one hour.
#pragma once

namespace ixo {

struct ClockReading {
  int minute = 0;  // 0 .. 59
  int second = 0;  // 0 .. 60 (a leap second)
};

// The minute and second fields of the local time of day now.
ClockReading ReadClock();

// ((end minute * 60 + end second) - (start minute * 60 + start second)) modulo
// 3600, in 0 .. 3599: hours are not looked at, so 59:50 to 0:10 gives 20.
int ElapsedSeconds(ClockReading start, ClockReading end);

}  // namespace ixo
