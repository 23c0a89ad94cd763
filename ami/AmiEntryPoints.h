#ifndef TESSALUNE_AMI_ENTRY_POINTS_H
#define TESSALUNE_AMI_ENTRY_POINTS_H

/* The transmitter's entry points (declared, with the export rules, in
 * amiframe/AmiExports.h):
 *
 * AMI_Init creates a model instance in *AMI_memory_handle (in every case but
 * a failed allocation), configures it from AMI_parameters_in and prepares it
 * for AMI_GetWave. The impulse matrix is neither read nor written. *msg
 * receives the model's message text when there is any; it stays valid until
 * AMI_Close.
 *
 * AMI_GetWave passes wave_size samples through the model in place and writes
 * the end-of-list marker -1 to clock_times[0] (nothing for wave_size 0). The
 * filter histories carry over to the next call.
 *
 * AMI_Close finalises and destroys the instance. */

#include "amiframe/AmiExports.h"

#endif
