/* Libraries in the plug-in folder that are not usable plug-ins: one whose GetTagger answers null, and with
   UNUSABLE_NO_EXPORT one that exports something else. */
#include "core/plugins/taggerrecord.h"

#define UNUSABLE_EXPORT __attribute__((visibility("default")))

#ifdef UNUSABLE_NO_EXPORT
UNUSABLE_EXPORT int GetTaggerNot(void)
{
    return 1;
}
#else
UNUSABLE_EXPORT TtaggerRecord* GetTagger(void)
{
    return 0;
}
#endif
