// The course shell's certificate operations, which the lesson calls through courselib.h: choosing
// the certification series in a dialog of the shell's own, printing a certificate page and
// recording a pass. Here are the names they are built from, for the tests and for anyone driving
// the dialog: its template, its list, the series offered and the shape of the page.
#pragma once

// The certification series dialog: a list of the series ("Series 1" ...) with "&Ok" and
// "&Cancel". "&Ok" is greyed until a series is selected; a double click on a series chooses it.
inline constexpr char kSeriesDialogName[] = "CERTSERIES";
inline constexpr int kSeriesListId = 9601;
inline constexpr int kCertificationSeriesCount = 10;  // series 1 to 10

// A certificate page: the line that names it ("NAME, lesson 29/230, series N, passed DATE"), then
// the heading, the words around the student's name, the lesson, the series and the date passed.
inline constexpr int kCertificatePageLines = 9;
inline constexpr int kCertificateLineSize = 160;

// Forgets the pass remembered since start-up and the series last chosen, as a new run of the
// lesson starts without them. For the tests, which run many lessons in one process.
void ForgetCertificatesOfRun();
