#ifndef TESSALUNE_RX_ENTRY_POINTS_H
#define TESSALUNE_RX_ENTRY_POINTS_H

/* The reference receiver's entry points (declared, with the export rules, in
 * amiframe/AmiExports.h):
 *
 * AMI_Init creates a receiver instance in *AMI_memory_handle (in every case
 * but a failed allocation) and configures it from AMI_parameters_in. When it
 * succeeds it filters each of the 1 + aggressors rows of row_size samples of
 * the impulse matrix through the CTLE, in place (Init_Returns_Impulse True).
 * *AMI_parameters_out receives the output parameter string (the DFE's
 * starting taps and level), *msg the message text when there is any; both
 * belong to the instance and stay valid until AMI_Close (the output string
 * is rewritten in place by every AMI_GetWave).
 *
 * AMI_GetWave runs CTLE, DFE and clock recovery over wave_size samples in
 * place (the returned wave is the equalised signal), writes the clock times
 * of the data instants in it (each half a bit time before its data instant,
 * in seconds from the first sample of the first call) to clock_times,
 * followed by the end-of-list marker -1, using at most wave_size entries
 * (clock times that do not fit come first in the next call), and points
 * *AMI_parameters_out at the DFE taps, the reference level and the
 * recovered frequency offset. The state carries over to the next call.
 *
 * AMI_Close finalises and destroys the instance. */

#include "amiframe/AmiExports.h"

#endif
