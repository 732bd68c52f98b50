#pragma once
// Event handler types of the archiver. Every handler receives the archiver first; arguments
// passed by reference may be changed by the handler. Entry names passed to OnFileProgress,
// OnConfirmProcessFile, OnProcessFileFailure, OnExtractFile and OnStoreFile use backslashes.
#include <cstdint>
#include <functional>

#include "ZAEnums.h"
#include "ZATypes.h"

class TZABaseArchiver;

using TZANotifyEvent = std::function<void(TZABaseArchiver* Sender)>;
using TZAFileProgressEvent =
    std::function<void(TZABaseArchiver* Sender, const ZAString& FileName, double Progress,
                       TZAProcessOperation Operation, TZAProgressPhase ProgressPhase,
                       bool& Cancel)>;
using TZAOverallProgressEvent =
    std::function<void(TZABaseArchiver* Sender, double Progress, TZAProcessOperation Operation,
                       TZAProgressPhase ProgressPhase, bool& Cancel)>;
using TZACopyTempFileProgressEvent = std::function<void(
    TZABaseArchiver* Sender, double Progress, TZAProgressPhase ProgressPhase, bool& Cancel)>;
using TZAConfirmOverwriteEvent =
    std::function<void(TZABaseArchiver* Sender, const ZAString& SourceFileName,
                       ZAString& DestFileName, bool& Confirm)>;
using TZAConfirmProcessFileEvent =
    std::function<void(TZABaseArchiver* Sender, const ZAString& FileName,
                       TZAProcessOperation Operation, bool& Confirm)>;
using TZAPasswordEvent =
    std::function<void(TZABaseArchiver* Sender, const ZAString& FileName,
                       ZAAnsiString& NewPassword, bool& SkipFile)>;
using TZAProcessFileFailureEvent = std::function<void(
    TZABaseArchiver* Sender, const ZAString& FileName, TZAProcessOperation Operation,
    int32_t NativeError, int32_t ErrorCode, const ZAString& ErrorMessage, TZAAction& Action)>;
using TZARequestBlankVolumeEvent = std::function<void(
    TZABaseArchiver* Sender, int32_t VolumeNumber, ZAString& VolumeFileName, bool& Cancel)>;
using TZARequestFirstVolumeEvent =
    std::function<void(TZABaseArchiver* Sender, ZAString& VolumeFileName, bool& Cancel)>;
using TZARequestLastVolumeEvent = TZARequestFirstVolumeEvent;
using TZARequestMiddleVolumeEvent = std::function<void(
    TZABaseArchiver* Sender, int32_t VolumeNumber, ZAString& VolumeFileName, bool& Cancel)>;
using TZADiskFullEvent = std::function<void(TZABaseArchiver* Sender, int32_t VolumeNumber,
                                            const ZAString& VolumeFileName, bool& Cancel)>;
using TZAStoreFileEvent =
    std::function<void(TZABaseArchiver* Sender, ZAString& FileName, int32_t& FileAttr,
                       ZAAnsiString& Comment, const ZAString& OriginalFileName)>;
using TZAExtractFileEvent = std::function<void(TZABaseArchiver* Sender, ZAString& FileName,
                                               uint32_t& FileAttr, const ZAAnsiString& Comment)>;
using TZAProcessVolumeFailureEvent =
    std::function<void(TZABaseArchiver* Sender, TZAProcessOperation Operation,
                       int32_t VolumeNumber, const ZAString& VolumeFileName, bool& Cancel)>;
