// Operations of the interface that this archiver does not carry out: the whole write side.
// Each raises EZANotSupported.
#include "ZABaseArchiver.h"
#include "ZAExcept.h"

void TZABaseArchiver::BeginUpdate() { throw EZANotSupported(u"BeginUpdate"); }
void TZABaseArchiver::EndUpdate() { throw EZANotSupported(u"EndUpdate"); }
// No transaction can be open on the read side (BeginUpdate is not carried out), so dropping
// one, as a cancelled batch does, leaves nothing to undo.
void TZABaseArchiver::CancelUpdate() { FUpdateCount = 0; }
void TZABaseArchiver::AddFromStream(const ZAString&, TZAStream&, bool, int64_t, int64_t, int32_t,
                                    double) {
    throw EZANotSupported(u"AddFromStream");
}
void TZABaseArchiver::AddFromBuffer(const ZAString&, const void*, int32_t, int32_t, double) {
    throw EZANotSupported(u"AddFromBuffer");
}
void TZABaseArchiver::AddFromString(const ZAString&, const ZAString&, int32_t, double) {
    throw EZANotSupported(u"AddFromString");
}
void TZABaseArchiver::AddFiles() { throw EZANotSupported(u"AddFiles"); }
void TZABaseArchiver::AddFiles(const ZAString&, int32_t, const ZAString&) {
    throw EZANotSupported(u"AddFiles");
}
void TZABaseArchiver::MoveFiles() { throw EZANotSupported(u"MoveFiles"); }
void TZABaseArchiver::MoveFiles(const ZAString&, int32_t, const ZAString&) {
    throw EZANotSupported(u"MoveFiles");
}
void TZABaseArchiver::DeleteFiles() { throw EZANotSupported(u"DeleteFiles"); }
void TZABaseArchiver::DeleteFiles(const ZAString&, int32_t, const ZAString&) {
    throw EZANotSupported(u"DeleteFiles");
}
void TZABaseArchiver::UpdateFiles() { throw EZANotSupported(u"UpdateFiles"); }
void TZABaseArchiver::UpdateFiles(const ZAString&, int32_t, const ZAString&) {
    throw EZANotSupported(u"UpdateFiles");
}
void TZABaseArchiver::RenameFile(const ZAString&, const ZAString&) {
    throw EZANotSupported(u"RenameFile");
}
void TZABaseArchiver::ChangeFilesAttr(const ZAString&, int32_t) {
    throw EZANotSupported(u"ChangeFilesAttr");
}
void TZABaseArchiver::ChangeFilesIntAttr(const ZAString&, int32_t) {
    throw EZANotSupported(u"ChangeFilesIntAttr");
}
void TZABaseArchiver::ChangeFilesComment(const ZAString&, const ZAAnsiString&) {
    throw EZANotSupported(u"ChangeFilesComment");
}
void TZABaseArchiver::MakeSFX(const ZAString&) { throw EZANotSupported(u"MakeSFX"); }
void TZABaseArchiver::RepairArchive(const ZAString&) { throw EZANotSupported(u"RepairArchive"); }
void TZABaseArchiver::FastFileAppend(TZAStream&, TZAStream&, const ZAString&) {
    throw EZANotSupported(u"FastFileAppend");
}
