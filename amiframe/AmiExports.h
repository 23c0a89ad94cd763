#ifndef TESSALUNE_AMI_EXPORTS_H
#define TESSALUNE_AMI_EXPORTS_H

/* The three functions a channel simulator calls, as every model of the kit
 * exports them: the C types of the IBIS-AMI standard, integers as `long`, as
 * the hosts pass them, which is 64 bits on 64-bit Linux and 32 bits on 64-bit
 * Windows. Usable from C and C++. Each returns 1 for success and 0 for
 * failure. What each model does in them is described beside its entry
 * points (ami/AmiEntryPoints.h, rxami/RxEntryPoints.h). */

/* The only names a model library exports, undecorated: plain C names, and
 * 64-bit Windows has one calling convention. */
#ifdef _WIN32
#define TESSALUNE_AMI_EXPORT __declspec(dllexport)
#else
#define TESSALUNE_AMI_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

TESSALUNE_AMI_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors, double sample_interval,
                                   double bit_time, char* AMI_parameters_in, char** AMI_parameters_out,
                                   void** AMI_memory_handle, char** msg);

TESSALUNE_AMI_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times, char** AMI_parameters_out,
                                      void* AMI_memory);

TESSALUNE_AMI_EXPORT long AMI_Close(void* AMI_memory);

typedef long (*AMI_Init_Function)(double*, long, long, double, double, char*, char**, void**, char**);
typedef long (*AMI_GetWave_Function)(double*, long, double*, char**, void*);
typedef long (*AMI_Close_Function)(void*);

#ifdef __cplusplus
}
#endif

#endif
