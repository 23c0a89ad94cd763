#pragma once

// The nine sampled impulse responses of the transmitter's analog output
// stage, one per combination of Vreg index and corner index: table
// k = 3 x Vreg index + corner index.
//
// Each table is 80 values (1/s: the sum of the values times the time step is
// the response's low-frequency gain) at 80 ascending time stamps (s, from 0)
// that all tables share.
// The data lives in ResponseTables.cpp, written by
// model/tables/GenerateResponseTables.cpp; regenerate it rather than editing.

constexpr int kResponseTableCount = 9;
constexpr int kResponseTableSize = 80;

// Time step of the tables (s): stamp i is i x this step, written with eight
// significant digits.
constexpr double kResponseTimeStep = 5.7870625e-12;

// The 80 time stamps every table shares.
extern const double ResponseTableStamps[kResponseTableSize];
// Values of table 0, of table 1, ... (720).
extern const double ResponseTableValueData[kResponseTableCount * kResponseTableSize];

// Address of the 80 values of table k (0..8).
inline const double* ResponseTableValues(int k) { return ResponseTableValueData + kResponseTableSize * k; }

// Address of the 80 time stamps of table k (0..8): the same for every table.
inline const double* ResponseTableTimeStamps(int /*k*/) { return ResponseTableStamps; }

// Area of table k (0..8): the sum of its values times the time step, the
// response's low-frequency gain (0.807 to 1.201).
inline double ResponseTableArea(int k) {
  double sum = 0.0;
  for (int i = 0; i < kResponseTableSize; ++i) sum += ResponseTableValues(k)[i];
  return sum * kResponseTimeStep;
}
