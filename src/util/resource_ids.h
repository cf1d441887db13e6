// Resource ids that the program's resource scripts and the sources below
// app/ share: plain #defines, so the resource compiler reads them too.
#pragma once

#define IDI_APP 100
