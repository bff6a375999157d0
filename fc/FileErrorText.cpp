#include "fc/FileErrorText.h"

#include "platform/Sjis.h"
#include "platform/WinError.h"

const char* FileErrorText::reason(uint32_t code)
{
    switch (code) {
    case WinError::FileNotFound:
        return Sjis::of("\nファイルが見付かりません");
    case WinError::PathNotFound:
        return Sjis::of("\n指定されたパスが見付かりません");
    case WinError::TooManyOpenFiles:
        return Sjis::of("\n開いているファイルが多すぎます");
    case WinError::AccessDenied:
        return Sjis::of("\nアクセスが拒否されました");
    case WinError::InvalidHandle:
        return Sjis::of("\nファイルハンドルが無効です");
    case WinError::NotEnoughMemory:
        return Sjis::of("\nメモリが足りません");
    case WinError::NotReady:
        return Sjis::of("\nドライブの準備ができていません");
    case WinError::GeneralFailure:
        return Sjis::of("\nメディアはフォーマットされていないか、準備ができていません");
    case WinError::SharingViolation:
        return Sjis::of("\n他のアプリケーションから利用されています");
    case WinError::LockViolation:
        return Sjis::of("\n他のプロセスがファイルをロックしています");
    case WinError::BadNetworkPath:
    case WinError::BadNetworkName:
        return Sjis::of("\nネットワークドライブにアクセスできません");
    case WinError::NoNetworkAccess:
        return Sjis::of("\nネットワークドライブにアクセス権がありません");
    case WinError::NotSameDevice:
        return Sjis::of("\n別のドライブへは移動できません");
    case WinError::HandleEof:
        return Sjis::of("\nファイルの終わりに達しました");
    case WinError::NotSupported:
        return Sjis::of("\nこの操作はサポートされていません");
    case WinError::DeviceNotExist:
        return Sjis::of("\nデバイスが存在しないか、相手側が開かれていません");
    case WinError::UnexpectedNetworkError:
        return Sjis::of("\nネットワークドライブとの接続が失われました");
    case WinError::FileExists:
    case WinError::AlreadyExists:
        return Sjis::of("\n同じ名前のファイルが既にあります");
    case WinError::InvalidParameter:
        return Sjis::of("\nこのファイルに対してはこの操作を行えません");
    case WinError::BrokenPipe:
        return Sjis::of("\n読み出す相手がいないため書き込めません");
    case WinError::DiskFull:
        return Sjis::of("\nディスクの空き容量が足りません");
    case WinError::InvalidName:
        return Sjis::of("\nファイル名に使えない文字が含まれています");
    case WinError::NegativeSeek:
    case WinError::SeekOnDevice:
        return Sjis::of("\nこのファイルの読み書きする位置は移動できません");
    case WinError::DirectoryNotEmpty:
        return Sjis::of("\nフォルダが空ではありません");
    case WinError::FilenameTooLong:
        return Sjis::of("\nファイル名またはパスが長すぎます");
    case WinError::FileTooLarge:
        return Sjis::of("\nファイルが大きすぎます");
    case WinError::DirectoryInvalid:
        return Sjis::of("\nフォルダ名が正しくありません");
    case WinError::OperationAborted:
        return Sjis::of("\n操作が中断されました");
    case WinError::TooManyLinks:
        return Sjis::of("\nリンクの数が多すぎます");
    case WinError::DiskQuotaExceeded:
        return Sjis::of("\nディスクの使用量の上限を超えています");
    case WinError::FileCorrupt:
        return Sjis::of("\nファイルまたはフォルダが壊れています");
    case WinError::CantResolveFilename:
        return Sjis::of("\nシンボリックリンクが循環しているか、多重に連なりすぎています");
    default:
        return nullptr;
    }
}
