#pragma once

// The nine sampled impulse responses of the transmitter's analog output
// stage, one per combination of Vreg index and corner index: table
// k = 3 x Vreg index + corner index.
//
// Each table is 80 values (1/s: the sum of the values times the time step is
// the response's low-frequency gain) and 80 ascending time stamps (s, from 0).
// The data lives in ResponseTables.cpp, written by
// model/tables/GenerateResponseTables.cpp; regenerate it rather than editing.

constexpr int kResponseTableCount = 9;
constexpr int kResponseTableSize = 80;

// Time step of the tables (s): stamp i is i x this step, written with eight
// significant digits.
constexpr double kResponseTimeStep = 5.7870625e-12;

// Values of table 0, time stamps of table 0, values of table 1, ... (1,440).
extern const double ResponseTableData[kResponseTableCount * 2 * kResponseTableSize];

// Address of the 80 values of table k (0..8).
inline const double* ResponseTableValues(int k) { return ResponseTableData + 2 * kResponseTableSize * k; }

// Address of the 80 time stamps of table k (0..8).
inline const double* ResponseTableTimeStamps(int k) {
  return ResponseTableData + 2 * kResponseTableSize * k + kResponseTableSize;
}

// Area of table k (0..8): the sum of its values times the time step, the
// response's low-frequency gain (0.807 to 1.201).
inline double ResponseTableArea(int k) {
  double sum = 0.0;
  for (int i = 0; i < kResponseTableSize; ++i) sum += ResponseTableValues(k)[i];
  return sum * kResponseTimeStep;
}
