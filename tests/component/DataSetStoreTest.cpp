// SPDX-License-Identifier: MIT
#include "RecordFixture.h"

#include "automation/Dispatch.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class DataSetStore : public RecordFixture
{
protected:
    void SetUp() override
    {
        RecordFixture::SetUp();
        record = RecordInfo::create();
    }
    void TearDown() override
    {
        record.reset();
        RecordFixture::TearDown();
    }

    void commitOk()
    {
        fillArrays(*record);
        ASSERT_EQ(record->AddDataSet(), S_OK) << lastErrorInfo().description.toStdString();
    }

    ComPtr<RecordInfo> record;
};

} // namespace

// Which fields a commit keeps, how probe fields are stored, how ConnectionMode rounds and an array of another
// element type failing a commit show in the store listings of tests/data/reports/store.cases.

TEST_F(DataSetStore, FailingCommitLeavesCountAndPendingValues)
{
    struct BadValue {
        const char* what;
        Variant value;
    };
    const BadValue bad[] = {
        {"a Variant array", arrayOfValues(VarType::Variant, {1.5f})},
        {"a scalar", Variant(1.5f)},
        {"Empty", Variant()},
    };
    for (const BadValue& b : bad) {
        fillArrays(*record);
        record->put_DataSetDesc(QStringLiteral("kept for the retry"));
        record->put_Note(QStringLiteral("pending note"));
        record->put_MKT(b.value);
        EXPECT_EQ(record->AddDataSet(), hresultFrom(0x800A000Du)) << b.what;
        EXPECT_EQ(record->dataSetCount(), 0) << b.what;
        EXPECT_EQ(record->pending().DataSetDesc, QStringLiteral("kept for the retry")) << b.what;
        EXPECT_EQ(record->pending().Note, QStringLiteral("pending note")) << b.what;
        EXPECT_EQ(dataSets().at(0).DataSetDesc, QStringLiteral("kept for the retry"))
            << "the fields before the bad one are in the slot: " << b.what;
    }
    fillArrays(*record);
    ASSERT_EQ(record->AddDataSet(), S_OK);
    EXPECT_EQ(dataSets().upperBound(), 0) << "the corrected retry overwrites the same slot";
    EXPECT_EQ(dataSets().at(0).MKT.at(1).toSingle(), 2.0f);
}

TEST_F(DataSetStore, ClearLeavesOneBlankRecordAndTheNotes)
{
    record->put_Note(QStringLiteral("n0"));
    commitOk();
    record->put_Note(QStringLiteral("n1"));
    record->put_Author(QStringLiteral("still pending"));
    commitOk();
    ModuleState::current().NoteChanged.at(1) = true;

    ASSERT_EQ(record->ClearAllDataSets(), S_OK);
    EXPECT_EQ(record->dataSetCount(), 0);
    ASSERT_EQ(dataSets().upperBound(), 0);
    EXPECT_EQ(dataSets().at(0).Author, QString()) << "the record left after a clear is blank";
    EXPECT_EQ(ModuleState::current().NoteChanged.upperBound(), 0);
    EXPECT_FALSE(ModuleState::current().NoteChanged.at(0));
    EXPECT_EQ(ModuleState::current().NoteArray.upperBound(), 1) << "ClearAllDataSets keeps the notes";
    EXPECT_EQ(record->pending().Author, QStringLiteral("still pending"));

    ModuleState::current().NoteChanged.at(0) = true;
    commitOk();
    EXPECT_EQ(dataSets().upperBound(), 0);
    EXPECT_EQ(dataSets().at(0).Author, QStringLiteral("still pending"));
    EXPECT_FALSE(ModuleState::current().NoteChanged.at(0)) << "every commit clears the note-changed flags";
}

TEST_F(DataSetStore, NoteGettersReturnCopiesAndNothingBeforeTheFirstCommit)
{
    EXPECT_FALSE(dataSets().isDimensioned());
    Variant notes, flags;
    ASSERT_EQ(record->get_NoteArray(&notes), S_OK);
    ASSERT_EQ(record->get_NoteChanged(&flags), S_OK);
    EXPECT_EQ(notes.varType(), arrayOf(VarType::String));
    EXPECT_FALSE(notes.array().isDimensioned());
    EXPECT_EQ(flags.varType(), arrayOf(VarType::Boolean));

    record->put_Note(QStringLiteral("original"));
    commitOk();
    ASSERT_EQ(record->get_NoteArray(&notes), S_OK);
    notes.array().set(0, "edited copy");
    EXPECT_EQ(ModuleState::current().NoteArray.at(0), QStringLiteral("original"));
}

TEST_F(DataSetStore, CommitPastTheLastCountOverflowsAfterFillingItsSlot)
{
    for (int i = 0; i < 32767; ++i) {
        fillArrays(*record);
        ASSERT_EQ(record->AddDataSet(), S_OK) << "commit " << i;
    }
    fillArrays(*record);
    ASSERT_EQ(record->dataSetCount(), 32767);
    record->put_DataSetDesc(QStringLiteral("one too many"));
    EXPECT_EQ(record->AddDataSet(), hresultFrom(0x800A0006u));
    EXPECT_EQ(record->dataSetCount(), 32767);
    EXPECT_EQ(dataSets().upperBound(), 32767) << "the store holds 32768 records";
    EXPECT_EQ(dataSets().at(32767).DataSetDesc, QStringLiteral("one too many"));
    EXPECT_EQ(record->pending().DataSetDesc, QStringLiteral("one too many")) << "a failed commit resets nothing";
}

TEST_F(DataSetStore, ServicesWithoutTheWindowsFailClearly)
{
    std::int16_t first = 0;
    EXPECT_EQ(record->ShowInfo(&first), hresultFrom(0x800A01BDu));
    EXPECT_TRUE(lastErrorInfo().description.contains(QStringLiteral("ShowInfo")));
    EXPECT_EQ(record->ShowNote(), hresultFrom(0x800A01BDu));
}
