#include "reports/CheckListOptions.h"

CheckListOptions CheckListOptions::of(bool csv, bool sceneList, bool characterList,
                                      bool listUnprinted)
{
    uint32_t word = csv ? FormatCsv : FormatText;
    if (sceneList)
        word |= SceneList;
    if (characterList)
        word |= CharacterList;
    if (listUnprinted)
        word |= ListUnprinted;
    return CheckListOptions(word);
}
