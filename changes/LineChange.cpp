#include "changes/LineChange.h"

#include "platform/Sjis.h"

const char* LineChange::kindText(Kind kind)
{
    switch (kind) {
    case Kind::Added:
        return Sjis::of("追加");
    case Kind::Deleted:
        return Sjis::of("削除");
    case Kind::Changed:
        return Sjis::of("変更");
    case Kind::Reassigned:
        return Sjis::of("話者変更");
    case Kind::Renumbered:
        return Sjis::of("番号変更");
    case Kind::NoteChanged:
        return Sjis::of("注記変更");
    }
    return "";
}
