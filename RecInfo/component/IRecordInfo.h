// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// _RecordInfo: the dual interface of RecordInfo. C++ hosts call these members directly (each
/// returns an HResult; error information of a failure is in lastErrorInfo()); late-bound hosts
/// reach the same members through IDispatch. The services and module properties come in slot
/// order, then a `put_` for each dataset property in the order of DataSetFields.h.

#include "automation/Export.h"
#include "DataSetFields.h"

#include "automation/IDispatch.h"
#include "automation/SafeArray.h"

namespace vxRecInfo {

/// The interface of RecordInfo, the class a host creates (Identity::RecordInfoClsid). A host
/// sets a recording's properties one at a time, commits it with AddDataSet and asks for the
/// services: the windows (ShowInfo, ShowImport, ShowNote) and the batch services (PrintAll,
/// RTF_All, RTF_NT) over every dataset committed.
///
/// Every member returns S_OK or, on failure, the error's HResult (0x800A0000 | n for run-time
/// error n) with number, source and description in lastErrorInfo(); nothing is thrown. A getter
/// given a null pointer returns E_POINTER. The store, the notes and the module properties
/// belong to the calling thread (its apartment), shared by every RecordInfo made there; an
/// object is used on the thread that made it. A service fails with error 445 when the build
/// has no windows.
///
/// Optional by-reference arguments (RTF_All's EnablePageNumbering, ShowInfo's
/// ListIndexPointer) may be null: omitted, they take their defaults (True and 0).
class VXRECINFO_EXPORT _RecordInfo : public IDispatch
{
public:
    /// The interface's IID, Identity::RecordInfoIid.
    static const QUuid& iid();
    /// Whether an object of this interface answers QueryInterface for id: this interface,
    /// IDispatch or IUnknown.
    static bool implements(const QUuid& id) { return id == iid() || IDispatch::implements(id); }

    /// The user's settings for the windows and the services: a Variant array whose element 6, a
    /// Boolean, says whether reports may be printed. A value without it makes the windows and
    /// the batch services fail (9 or 13, naming UserSettings(6)) when they load.
    virtual HResult put_UserSettings(const Variant& value) = 0;
    /// Prints the reports of every committed dataset, each with its batch header, as one job.
    /// Needs a QGuiApplication in the host. A job that fails is abandoned: no pages of it stay.
    /// @param PJob the print job number the batch headers show
    /// @param StartPageNum raised by one before each report, whose header shows it: comes back
    ///        as the last report's number
    /// @param TotalPages the page count the headers show ("Page n of TotalPages")
    /// @param PrinterName the printer to print on when it names one of the printers, else the
    ///        current printer
    /// @return S_OK, or the error: 449 for a null argument; 445 without a QGuiApplication; 9
    ///         when no dataset was ever committed; 6 when StartPageNum passes 32767; a printer's
    ///         482, and for the PDF printer 61, 75, 76 or 57; a signing key that cannot sign 53,
    ///         75 or 5. Errors met while pages are printed come as the print engine's error
    ///         (HResult 0x80040000, source "RTBFormat.PrintRTF", the cause in the description).
    virtual HResult PrintAll(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages,
                             QString* PrinterName) = 0;
    /// Appends the rich text of every committed dataset's report to RTF_Text, each with its
    /// batch header and followed by a form feed. Needs no application object.
    /// @param PJob, StartPageNum, TotalPages, PrinterName as for PrintAll
    /// @param RTF_Text the text the reports are appended to
    /// @param EnablePageNumbering whether the headers show the print job and page lines; null
    ///        for True
    /// @return S_OK, or the error: 449 for a null argument (EnablePageNumbering aside); 9 when
    ///         no dataset was ever committed; 6 when StartPageNum passes 32767; the errors
    ///         of building a report
    virtual HResult RTF_All(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages, QString* PrinterName,
                            QString* RTF_Text, bool* EnablePageNumbering) = 0;
    /// The time zone in effect when the user last chose Import in the Import window.
    virtual HResult get_ImportUserSelectedTimeZone(std::int16_t* value) = 0;
    /// Starts a new batch: the store holds one blank record and the count is 0; the notes and
    /// the pending values stay.
    virtual HResult ClearAllDataSets() = 0;
    /// Commits the pending dataset as the next record of the store, with its note, clears every
    /// NoteChanged flag and resets the pending values (a few are kept for the next dataset:
    /// see component/DataSetFields.h).
    /// @return S_OK; 13 for an array property that does not hold exactly its element type (the
    ///         description names it), the count and pending values left as they were; 6 past
    ///         32767 datasets
    virtual HResult AddDataSet() = 0;
    /// The time zone the reports show times in, as the TimeZoneService numbers its zones
    /// (TZoneID); the Import window changes it.
    virtual HResult get_TimeZone(std::int16_t* value) = 0;
    /// @copydoc get_TimeZone
    virtual HResult put_TimeZone(std::int16_t value) = 0;
    /// Shows the Import window over the committed datasets and waits until it closes; then
    /// ImportFileSelected says whether the user chose Import.
    /// @param ClassicFileFlag per dataset, True for one read from a classic file, whose times
    ///        the report shows as stored
    /// @return S_OK, or the error: 449 for a null ClassicFileFlag; 445 without a QApplication,
    ///         off its thread or without a display; the error of FontSettings.Reload or of the
    ///         window's load (9 when no dataset was ever committed)
    virtual HResult ShowImport(SafeArray* ClassicFileFlag) = 0;
    /// Whether the user chose Import (rather than Cancel) in the Import window last shown.
    virtual HResult get_ImportFileSelected(bool* value) = 0;
    /// Shows the Statistics and Info window over the committed datasets and waits until it
    /// closes.
    /// @param ListIndexPointer the entry to select, from 0 (0 when it is none or null)
    /// @return S_OK, or the errors of ShowImport (445, the Reload's, the load's)
    virtual HResult ShowInfo(std::int16_t* ListIndexPointer) = 0;
    /// Shows the Recording Note window on the pending note and waits until it closes; then
    /// NoteArray holds only the note as the window left it, at 0: the notes of committed
    /// datasets are gone.
    /// @return S_OK, or 445 as for ShowImport
    virtual HResult ShowNote() = 0;
    /// The notes: a String array with one per committed dataset (or, after ShowNote, the one
    /// note at 0); not dimensioned before the first commit.
    virtual HResult get_NoteArray(Variant* value) = 0;
    /// The pending dataset's note, committed with it.
    virtual HResult put_Note(const QString& value) = 0;
    /// Whether the Recording Note window lets the user change the note (False: read only).
    virtual HResult get_NoteChangeAllowed(bool* value) = 0;
    /// @copydoc get_NoteChangeAllowed
    virtual HResult put_NoteChangeAllowed(bool value) = 0;
    /// A Boolean array: per committed dataset, whether the user changed its note in a window
    /// since the last commit.
    virtual HResult get_NoteChanged(Variant* value) = 0;
    /// Replaces RTF_Text with the print documents of every committed dataset, back to back,
    /// and writes the last of them to the info file.
    /// @return S_OK, or the error: 449 for a null RTF_Text; 9 when no dataset was ever
    ///         committed; the info file's 76, 75, 61 or 57 (the previous file stays)
    virtual HResult RTF_NT(QString* RTF_Text) = 0;

    /// @name Dataset properties
    /// One `put_` for each row of the field table, VX_DATASET_FIELDS in component/DataSetFields.h:
    /// `put_DataSetDesc(const QString&)`, `put_Alarm_Status(bool)`, ...,
    /// `put_ChannelNumber(const Variant&)` ...
    /// @{

    /// Declares the `put_` of a scalar row, taking ArgType of the property's type.
#define VX_PUT_SCALAR(name, slot, dispId, type, ...) virtual HResult put_##name(ArgType<VarType::type> value) = 0;
    /// Declares the `put_` of an array row, taking a Variant.
#define VX_PUT_ARRAY(name, ...) virtual HResult put_##name(const Variant& value) = 0;
    /// The pending value of the dataset field of the same name, which AddDataSet commits. A
    /// scalar takes its property's type (ArgType); ConnectionMode, a Single, is rounded as CLng
    /// rounds (error 6 out of range). An array property takes a Variant that must hold an array
    /// of exactly the field's element type, which AddDataSet checks (error 13).
    VX_DATASET_FIELDS(VX_PUT_SCALAR, VX_PUT_ARRAY)
#undef VX_PUT_SCALAR
#undef VX_PUT_ARRAY
    /// @}

protected:
    /// Protected, as IUnknown's: objects die at their last Release.
    ~_RecordInfo() override = default;
};

} // namespace vxRecInfo
