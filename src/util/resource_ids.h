// Resource ids that the program's resource scripts and the sources below
// app/ share: plain #defines, so the resource compiler reads them too.
#pragma once

#define IDI_APP 100

// The text of Explorer's verb, in a string table per language, so that
// Windows shows it in the user's language (MUIVerb=@<exe>,-IDS_VERB_QUEUE).
#define IDS_VERB_QUEUE 1100
