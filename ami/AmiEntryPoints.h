#ifndef TESSALUNE_AMI_ENTRY_POINTS_H
#define TESSALUNE_AMI_ENTRY_POINTS_H

/* The three functions a channel simulator calls, with the C types of the
 * IBIS-AMI standard: integers as `long`, as the hosts pass them, which is 64
 * bits on 64-bit Linux and 32 bits on 64-bit Windows. Usable from C and C++.
 * Each returns 1 for success and 0 for failure. */

/* The only names the library exports, undecorated: plain C names, and 64-bit
 * Windows has one calling convention. */
#ifdef _WIN32
#define TESSALUNE_AMI_EXPORT __declspec(dllexport)
#else
#define TESSALUNE_AMI_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Creates a model instance in *AMI_memory_handle (in every case but a failed
 * allocation), configures it from AMI_parameters_in and prepares it for
 * AMI_GetWave. The impulse matrix is neither read nor written. *msg receives
 * the model's message text when there is any; it stays valid until
 * AMI_Close. */
TESSALUNE_AMI_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors, double sample_interval,
                                   double bit_time, char* AMI_parameters_in, char** AMI_parameters_out,
                                   void** AMI_memory_handle, char** msg);

/* Passes wave_size samples through the model in place and writes the
 * end-of-list marker -1 to clock_times[0] (nothing for wave_size 0). The
 * filter histories carry over to the next call. */
TESSALUNE_AMI_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times, char** AMI_parameters_out,
                                      void* AMI_memory);

/* Finalises and destroys the instance. */
TESSALUNE_AMI_EXPORT long AMI_Close(void* AMI_memory);

typedef long (*AMI_Init_Function)(double*, long, long, double, double, char*, char**, void**, char**);
typedef long (*AMI_GetWave_Function)(double*, long, double*, char**, void*);
typedef long (*AMI_Close_Function)(void*);

#ifdef __cplusplus
}
#endif

#endif
