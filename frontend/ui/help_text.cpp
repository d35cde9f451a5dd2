#include "ui/help_text.h"

namespace ixo {

const char* HelpText() {
  return R"(Ixo program [help file]

TABLE OF CONTENT:
1. Basic description
2. How to use the program
3. Advanced info
4. Contact

==========================
1. BASIC DESCRIPTION
==========================
The program computes the
correlation integral Cm for 41
values of the proximity parameter
epsilon. The epsilons span one of
four ranges of the standard
deviation of the series:
<0.60; 1.90>, <0.25; 1.00>,
<0.50; 1.50> or <0.25; 2.00>, with
<0.60; 1.90> as the default. This is
done for the nine embedding
dimensions m = 2,...,10.

For each m the program computes
the slope coefficient beta(m) of log
Cm against log epsilon. From the
sample size it suggests the set of
critical values, compares each
slope with them and notes its
significance.

The system consists of two
programs: ixo (the graphical user
interface) and ixo_engine (the
computation module).

The test is based on:
Grassberger, P. and Procaccia, I.
(1983), Physica D 9, 189-208;
Brock, W. A., Dechert, W. D.,
Scheinkman, J. A. and LeBaron, B.
(1996), Econometric Reviews 15,
197-235.

==========================
2. HOW TO USE THE PROGRAM
==========================
Both programs, ixo and ixo_engine,
must stand in one directory, and
you must be allowed to write into it.

1) Click [...] and choose the data
   file.
2) Choose the epsilon range and
   the maximal embedding
   dimension m.
3) The set of critical values is
   suggested from the sample size.
   For samples of other sizes than
   500, 1000 or 2500 you may
   change it.
4) Click [Run the test] and wait.
5) To pass the results to another
   program, right-click the results
   table and choose [Copy results
   into Clipboard].
6) Change the parameters and run
   the test again as often as you
   like.

The data file:
- up to 10000 observations; only
  the first 10000 are read;
- one value per line, as an integer
  (240379), a real (-24.0379) or a
  floating-point number
  (2.40e+379);
- a value between 0 and 1 should
  be written with a leading 0 (0.5),
  and a negative sign must stand
  next to the leading digit (-1.5);
- a decimal comma is accepted as
  well as a decimal point;
- blank or unreadable lines are
  skipped and counted as skipped
  observations;
- values range over double
  precision, +-1.7E308.

The table of descriptive statistics
shows the file name, the number of
observations and of skipped lines,
the mean, the standard deviation,
the spread (maximum - minimum)
and the standard deviation divided
by the spread.

[Histogram] opens a window with a
histogram of the standardized
series in up to 50 bins, the
standard normal probabilities
beside it, and the normality tests:
skewness, kurtosis and the
Bera-Jarque test. Hover over their
values to see the z-statistics and
the critical values.

Large samples can take several
minutes on slow computers.

==========================
3. ADVANCED INFO
==========================
The two programs communicate
through the files input.tmp and
output.tmp in their directory. Do not
touch them during a calculation.
The program erases them when all
computation is done and it is
closed. If the program is closed
during a calculation, ixo_engine
may go on running; you can end it
with your system monitor or with
kill.

The engine can also be run by
hand from a terminal:

ixo_engine [filename] [m] [eps_low]
  [eps_high] [subint] [cm_limit]
  [write_0/1]

filename:
  the time series, one value per line
m:
  maximum embedding dimension
eps_low:
  lowest fraction of the standard
  deviation
eps_high:
  highest fraction of the standard
  deviation
subint:
  number of subintervals of the
  epsilon range (default 40)
cm_limit:
  a point is used only with more
  close pairs than this (default 50)
write_0/1:
  1 computes dimension m only and
  saves its value into output.tmp; 2
  saves the BDS statistic of
  dimension m at eps_low instead

Examples, on a file input.txt at
dimension 6:

ixo_engine input.txt 6 0.25 1.00
  (range 0.25 to 1.00, defaults)
ixo_engine input.txt 6 0.50 1.50
  40 50 (range 0.50 to 1.50, subint
  40, cm_limit 50)
ixo_engine input.txt 6 0.25 2.00
  40 50 1 (range 0.25 to 2.00, the
  result saved into output.tmp)

The program runs on Linux
desktops (X11 or Wayland). You
may use and distribute it freely with
appropriate citation. It comes
without any warranty. Comments
and error reports are welcome.

==========================
4. CONTACT
==========================
The Ixo developers
ixo@example.org
https://example.org/ixo

)";
}

}  // namespace ixo
