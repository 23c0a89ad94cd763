// The Reserved_Parameters branch of an .ami file: the reserved parameters of
// each AMI version the checker knows, each with the Usage, Type, data format,
// value and Description it must carry in that version.
#pragma once

struct PARSE_CONTEXT;

struct AMIBRANCH;

// Checks the Reserved_Parameters branch for AMI release `release`
// (IBIS_RELEASE_*): its children, the rules of each reserved parameter of
// that release, and that Init_Returns_Impulse and GetWave_Exists (and, from
// 5.1 on, AMI_Version) are there. A parameter that only a later release
// defines is reported as unknown.
void AMIRES_CheckReserved(PARSE_CONTEXT& ctx, const AMIBRANCH* reserved, int release);

// Checks one reserved parameter branch against its rules of `release`;
// returns 0 when `param` does not name a reserved parameter of that release
// (nothing printed).
int AMIRES_CheckReservedParam(const AMIBRANCH* param, int release);

// The release that first defines reserved parameter `name`, or 0.
int AMIRES_ReservedSince(const char* name);
