// What the archiver does for each event: call the handler, or without one its own default
// (clearing Cancel, confirming, or asking through the prompts).
#include "ZABaseArchiver.h"
#include "ZAConst.h"
#include "ZAExcept.h"
#include "ZAFormat.h"
#include "ZAPrompt.h"
#include "platform/codepage.h"
#include "platform/host_files.h"

void TZABaseArchiver::DoOnOverallProgress(double Progress, TZAProcessOperation Operation,
                                          TZAProgressPhase ProgressPhase, bool& Cancel) {
    if (OnOverallProgress) OnOverallProgress(this, Progress, Operation, ProgressPhase, Cancel);
    else Cancel = false;
}

void TZABaseArchiver::DoOnFileProgress(const ZAString& FileName, double Progress,
                                       TZAProcessOperation Operation,
                                       TZAProgressPhase ProgressPhase, bool& Cancel) {
    if (OnFileProgress)
        OnFileProgress(this, ToHandlerName(FileName), Progress, Operation, ProgressPhase, Cancel);
    else Cancel = false;
}

void TZABaseArchiver::DoOnCopyTempFileProgress(double Progress, TZAProgressPhase ProgressPhase,
                                               bool& Cancel) {
    Cancel = false;
    if (OnCopyTempFileProgress) OnCopyTempFileProgress(this, Progress, ProgressPhase, Cancel);
}

void TZABaseArchiver::DoOnConfirmOverwrite(const ZAString& SourceFileName,
                                           ZAString& DestFileName, bool& Confirm) {
    if (OnConfirmOverwrite) {
        OnConfirmOverwrite(this, SourceFileName, DestFileName, Confirm);
        return;
    }
    const ZAString text =
        ZAFormat(u"Overwrite file \"%s\" with \"%s\"", {DestFileName, SourceFileName});
    switch (ZAConfirm(text, {pbYes, pbNo, pbNoToAll, pbYesToAll})) {
        case pbYes: Confirm = true; break;
        case pbNoToAll:
            Confirm = false;
            FOptions.SetOverwriteMode(omNever);
            break;
        case pbYesToAll:
            Confirm = true;
            FOptions.SetOverwriteMode(omAlways);
            break;
        default: Confirm = false; break;
    }
}

void TZABaseArchiver::DoOnConfirmProcessFile(const ZAString& FileName,
                                             TZAProcessOperation Operation, bool& Confirm) {
    Confirm = true;
    if (OnConfirmProcessFile) OnConfirmProcessFile(this, ToHandlerName(FileName), Operation, Confirm);
}

void TZABaseArchiver::DoOnPassword(const ZAString& FileName, ZAAnsiString& NewPassword,
                                   bool& SkipFile) {
    if (OnPassword) {
        OnPassword(this, FileName, NewPassword, SkipFile);
        return;
    }
    ZAString typed;
    if (ZAAskPassword(ZAFormat(u"Password for \"%s\"", {FileName}), u"Enter password: ", 255,
                      typed)) {
        NewPassword = platform::Utf16ToCp1252(typed);
        SkipFile = false;
    } else {
        SkipFile = true;
    }
}

void TZABaseArchiver::DoOnProcessFileFailure(const ZAString& FileName,
                                             TZAProcessOperation Operation, int32_t NativeError,
                                             int32_t ErrorCode, const ZAString& ErrorMessage,
                                             TZAAction& Action) {
    Action = fxaIgnore;
    if (OnProcessFileFailure) {
        OnProcessFileFailure(this, ToHandlerName(FileName), Operation, NativeError, ErrorCode,
                             ErrorMessage, Action);
        return;
    }
    TZAPromptButton answer;
    if (NativeError == 45) {
        Action = fxaAbort;
        return;
    } else if (NativeError == 61) {
        answer = ZAConfirm(ErrorMessage, {pbAbort, pbIgnore});
    } else {
        answer = ZAConfirm(ZAFormat(u"%s. File processing error, possibly disk is full",
                                    {ErrorMessage}),
                           {pbAbort, pbRetry, pbIgnore});
    }
    Action = answer == pbRetry ? fxaRetry : answer == pbIgnore ? fxaIgnore : fxaAbort;
}

void TZABaseArchiver::DoOnRequestBlankVolume(int32_t VolumeNumber, ZAString& VolumeFileName,
                                             bool& Cancel) {
    Cancel = false;
    if (OnRequestBlankVolume) {
        OnRequestBlankVolume(this, VolumeNumber + 1, VolumeFileName, Cancel);
    } else if (FSpanningMode == smSpanning) {
        Cancel = ZAConfirm(ZAFormat(u"Please insert a blank disk #%d", {VolumeNumber + 1}),
                           {pbOK, pbCancel}) != pbOK;
    }
}

void TZABaseArchiver::DoOnDiskFull(int32_t VolumeNumber, const ZAString& VolumeFileName,
                                   bool& Cancel) {
    Cancel = false;
    if (OnDiskFull) {
        OnDiskFull(this, VolumeNumber + 1, VolumeFileName, Cancel);
        return;
    }
    if (FSpanningMode != smSpanning) throw EZAException(neDiskFull);
    const int64_t required = FSpanningOptions.GetVolumeSize(VolumeNumber == 0);
    const int64_t available = platform::FreeSpace(Utf16ToUtf8(VolumeFileName));
    const ZAString text = ZAFormat(
        u"Disk is full. Required free space: %d bytes, but available only: %d bytes. Clean "
        u"the disk or find another blank disk",
        {required, available});
    Cancel = ZAConfirm(text, {pbOK, pbCancel}) != pbOK;
}

void TZABaseArchiver::DoOnProcessVolumeFailure(TZAProcessOperation Operation,
                                               int32_t VolumeNumber,
                                               const ZAString& VolumeFileName, bool& Cancel) {
    if (FOnProcessVolumeFailure)
        FOnProcessVolumeFailure(this, Operation, VolumeNumber + 1, VolumeFileName, Cancel);
}

void TZABaseArchiver::DoOnStoreFile(ZAString& FileName, int32_t& FileAttr,
                                    ZAAnsiString& Comment, const ZAString& OriginalFileName) {
    if (!OnStoreFile) return;
    FileName = ToHandlerName(FileName);
    OnStoreFile(this, FileName, FileAttr, Comment, OriginalFileName);
}

void TZABaseArchiver::DoOnExtractFile(ZAString& FileName, uint32_t& FileAttr,
                                      const ZAAnsiString& Comment) {
    if (!OnExtractFile) return;
    FileName = ToHandlerName(FileName);
    OnExtractFile(this, FileName, FileAttr, Comment);
}
