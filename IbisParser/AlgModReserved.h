// The Reserved_Parameters branch of an .ami file: the nine reserved
// parameters the checker knows, each with the Usage, Type, Format, Default
// and Description it must carry.
#pragma once

struct AMIBRANCH;

// Checks the Reserved_Parameters branch: its children, the rules of each
// known reserved parameter, and that Init_Returns_Impulse and GetWave_Exists
// are there.
void ALGMOD_CheckReserved(const AMIBRANCH* reserved);

// Checks one reserved parameter branch against its rules; returns 0 when
// `param` is not the name of a reserved parameter (nothing printed).
int ALGMOD_CheckReservedParam(const AMIBRANCH* param);
