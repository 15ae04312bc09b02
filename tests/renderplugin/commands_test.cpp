// The command callbacks of the job header and the page set-up, as the GPD asks for them, with the
// bytes they write into the stream.
#include "render_driver.h"

namespace moltr::test {
namespace {

std::vector<BYTE> Raw(std::initializer_list<int> bytes) {
    std::vector<BYTE> out;
    for (int b : bytes) {
        out.push_back(static_cast<BYTE>(b));
    }
    return out;
}

const std::string kNotice = "MOLTR printer driver render plug-in";

class RenderCommands : public ::testing::Test {
protected:
    explicit RenderCommands(RenderPrinterSetup setup = {}) : printer_(setup) {}

    void SetUp() override {
        job_ = std::make_unique<RenderJob>(module_, printer_.handle());
        ASSERT_NE(job_->plugin(), nullptr);
    }

    std::vector<BYTE> Written(DWORD id, HRESULT expected = S_OK) {
        auto [result, bytes] = job_->Callback(id);
        EXPECT_EQ(result, expected) << "callback " << id;
        return bytes;
    }

    RenderPrinter printer_;
    RenderModule module_;
    std::unique_ptr<RenderJob> job_;
};

TEST_F(RenderCommands, PageLevelResourcesAreWrittenAsStored) {
    EXPECT_EQ(Written(101), Bytes("\x1b&l0S"));
    EXPECT_EQ(Written(103), Bytes("\x1b&l2S"));
    EXPECT_EQ(Written(201), Bytes("\x1b"
                                  "E\x1b%-12345X"));
    EXPECT_EQ(Written(203), Bytes("IB\x1b%-12345X@PJL EOJ\n\x1b%-12345X"));
    EXPECT_EQ(Written(213), Bytes("@PJL SET DUPLEX=ON\n@PJL SET BINDING=LONGEDGE\n"));
    EXPECT_EQ(Written(220), Bytes("\x1b&l2O"));
    EXPECT_EQ(Written(226), Raw({0xC0, 0x00, 0xF8, 0x28}));
    EXPECT_EQ(Written(128), Raw({0xC0, 0x06, 0xF8, 0x26}));
    EXPECT_EQ(Written(310), Raw({0xC1, 0x01, 0x00, 0xF8, 0x31, 0x44}));
    EXPECT_EQ(Written(312), Bytes("\x1b&l1X"));
    EXPECT_EQ(Written(413), Bytes("@PJL COMMENT PREVIEW\n"));
    EXPECT_EQ(Written(200), Bytes("\x1b%-12345X@PJL JOB\n@PJL COMMENT " + kNotice + "\n"));
    EXPECT_EQ(Written(202),
              Bytes("\x1b%-12345X@PJL JOB\n@PJL COMMENT " + kNotice + "\n@PJL SET RET=ON\n"));
}

TEST_F(RenderCommands, AnIdWithoutResourceFailsAndWritesNothing) {
    EXPECT_EQ(Written(117, E_FAIL), std::vector<BYTE>());
    EXPECT_EQ(Written(999, E_FAIL), std::vector<BYTE>());
}

TEST_F(RenderCommands, CopiesCarryTheDevmodesCount) {
    job_->publicDevMode.dmCopies = 3;
    EXPECT_EQ(Written(208), Bytes("@PJL SET QTY=3\n"));
    EXPECT_EQ(Written(209), Bytes("@PJL SET QTY=1\n"));
    EXPECT_EQ(Written(219), Bytes("@PJL SET COPIES=3\n"));
    EXPECT_EQ(Written(272), Bytes("@EJL SET CO=3\n"));
    EXPECT_EQ(Written(273), Bytes("@EJL SET QT=3\n"));
    EXPECT_EQ(Written(274), Bytes("@EJL SET QT=1\n"));
    EXPECT_EQ(Written(308), Bytes("\x1b&l1X"));
    EXPECT_EQ(Written(309), Bytes("\x1b&l3X"));
    job_->publicDevMode.dmCopies = 300;
    EXPECT_EQ(Written(311), Raw({0xC1, 0x2C, 0x01, 0xF8, 0x31, 0x44}));
}

TEST_F(RenderCommands, PaperSourceFollowsTheFormSource) {
    EXPECT_EQ(Written(114), Bytes("\x1b&l5H"));
    EXPECT_EQ(Written(111), Bytes("\x1b&l2H"));
    EXPECT_EQ(Written(121), Raw({0xC0, 0x02, 0xF8, 0x26}));
    job_->publicDevMode.dmDefaultSource = 15;
    EXPECT_EQ(Written(114), Bytes("\x1b&l7H"));
    EXPECT_EQ(Written(111), Bytes("\x1b&l7H"));
    EXPECT_EQ(Written(124), Raw({0xC0, 0x01, 0xF8, 0x26}));
}

TEST_F(RenderCommands, DuplexOnAPjlPrinterBindsByOrientation) {
    EXPECT_EQ(Written(304), Bytes("@PJL SET DUPLEX=OFF\n"));
    job_->publicDevMode.dmDuplex = 2;
    EXPECT_EQ(Written(305), Bytes("@PJL SET DUPLEX=ON\n@PJL SET BINDING=LONGEDGE\n"));
    EXPECT_EQ(Written(306), Bytes("@PJL SET DUPLEX=ON\n@PJL SET BINDING=SHORTEDGE\n"));
    job_->publicDevMode.dmOrientation = 2;
    EXPECT_EQ(Written(305), Bytes("@PJL SET DUPLEX=ON\n@PJL SET BINDING=SHORTEDGE\n"));
    EXPECT_EQ(Written(306), Bytes("@PJL SET DUPLEX=ON\n@PJL SET BINDING=LONGEDGE\n"));
}

TEST_F(RenderCommands, ColourBlocksFollowTheEnhancedModeAndScreening) {
    // The sample's defaults: automatic colour, enhanced mode 2, no screening; a PCL 5 printer.
    std::vector<BYTE> block173;
    for (int object = 0; object < 3; ++object) {
        std::vector<BYTE> command = Bytes("\x1b*o4W");
        command.insert(command.end(), {0x09, 0x01, static_cast<BYTE>(object), 0x01});
        block173.insert(block173.end(), command.begin(), command.end());
    }
    for (int object = 0; object < 3; ++object) {
        std::vector<BYTE> command = Bytes("\x1b*o4W");
        command.insert(command.end(), {0x09, 0x04, static_cast<BYTE>(object), 0x00});
        block173.insert(block173.end(), command.begin(), command.end());
    }
    EXPECT_EQ(Written(154), block173);
    job_->SetJobByte(L"_SCREENING", 4);
    std::vector<BYTE> with181 = block173;
    for (int object = 0; object < 3; ++object) {
        std::vector<BYTE> command = Bytes("\x1b*o4W");
        command.insert(command.end(), {0x09, 0x00, static_cast<BYTE>(object),
                                       static_cast<BYTE>(object == 0 ? 0 : 2)});
        with181.insert(with181.end(), command.begin(), command.end());
    }
    EXPECT_EQ(Written(154), with181);
    job_->SetJobByte(L"_ENHANCEDMODE", 0);
    EXPECT_EQ(Written(154), std::vector<BYTE>());
}

TEST_F(RenderCommands, JobHeadersWithoutAJobRecordFallBack) {
    // No job is spooled for this device, so its record cannot be read.
    EXPECT_EQ(Written(303), Bytes("\x1b%-12345X@PJL JOB\n@PJL COMMENT " + kNotice + "\n"));
    EXPECT_EQ(Written(302, E_FAIL),
              Bytes("\x1b\x01@EJL \n@EJL COMMENT " + kNotice + "\n@EJL SJ\n"));
    EXPECT_EQ(Written(450), Bytes("\x1b%-12345X@PJL EOJ\n\x1b%-12345X"));
}

class RenderCommandsFormAssignment : public RenderCommands {
protected:
    // Form assignment on, with Letter, Legal, A4 (third), A5, B5, Executive (sixth) and Statement
    // in the list.
    RenderCommandsFormAssignment()
        : RenderCommands(RenderPrinterSetup{
              "MOLTR ColorLaser 4000 PCL5c",
              {{"    *_FORMASSIGN: 0", "    *_FORMASSIGN: 1"},
               {"    *_FORMSIZE_LIST: 9,9,9,9,9,9,9", "    *_FORMSIZE_LIST: 1,5,9,11,13,7,6"}},
              "[UIPSETTINGS]\r\nUIPLANG=0\r\n",
              {}}) {}
};

TEST_F(RenderCommandsFormAssignment, TheAssignedTrayIsWrittenWhateverTheGpdAsks) {
    job_->publicDevMode.dmPaperSize = 9;
    EXPECT_EQ(Written(110), Bytes("\x1b&l5H"));
    EXPECT_EQ(Written(122), Raw({0xC0, 0x05, 0xF8, 0x26}));
    // The sixth tray has no PCL 5 command of its own: the automatic source instead.
    job_->publicDevMode.dmPaperSize = 7;
    EXPECT_EQ(Written(113), Bytes("\x1b&l7H"));
    EXPECT_EQ(Written(120), Raw({0xC0, 0x09, 0xF8, 0x26}));
    // A size that no tray holds.
    job_->publicDevMode.dmPaperSize = 20;
    EXPECT_EQ(Written(116), Bytes("\x1b&l7H"));
}

class RenderCommandsEjl : public RenderCommands {
protected:
    RenderCommandsEjl()
        : RenderCommands(RenderPrinterSetup{"MOLTR ColorLaser 4000 PCL5c",
                                            {{"    *_ENABLEPJL: 1", "    *_ENABLEPJL: 0"}},
                                            "[UIPSETTINGS]\r\nUIPLANG=0\r\n",
                                            {}}) {}
};

TEST_F(RenderCommandsEjl, DuplexOnAnEjlPrinter) {
    EXPECT_EQ(Written(304), Bytes("@EJL SET DX=OFF\n"));
    job_->publicDevMode.dmDuplex = 2;
    EXPECT_EQ(Written(305), Bytes("@EJL SET DX=ON\n@EJL SET BINDING=LONGEDGE\n"));
    EXPECT_EQ(Written(306), Bytes("@EJL SET DX=ON\n@EJL SET BINDING=SHORTEDGE\n"));
}

class RenderCommandsNoDevice : public RenderCommands {
protected:
    RenderCommandsNoDevice()
        : RenderCommands(RenderPrinterSetup{
              "MOLTR ColorLaser 4000 PCL5c",
              {{"    *_DEVICETYPE: =PST_DEVICETYPE_LONGEDGE", "    *_DEVICETYPE: 0"}},
              "[UIPSETTINGS]\r\nUIPLANG=0\r\n",
              {}}) {}
};

TEST_F(RenderCommandsNoDevice, EveryCallbackFailsWithoutADeviceType) {
    EXPECT_EQ(Written(101, E_FAIL), std::vector<BYTE>());
    EXPECT_EQ(Written(303, E_FAIL), std::vector<BYTE>());
}

} // namespace
} // namespace moltr::test

namespace moltr::test {
namespace {

class RenderCommandsTemplateModel : public RenderCommands {
protected:
    // Model code 1: the colour set-up by templates.
    RenderCommandsTemplateModel()
        : RenderCommands(RenderPrinterSetup{"MOLTR ColorLaser 1100 PCL5c", {}, "", {}}) {}
};

TEST_F(RenderCommandsTemplateModel, PageSideWritesOrientationThenTheColourTemplates) {
    // The sample's defaults: raster mode, portrait, automatic colour, no screening, gamma 2.2,
    // enhanced mode 2 and neutral adjustments.
    std::vector<BYTE> expected = Bytes("\x1b&l0O\x1b*t2.2I");
    const BYTE templates[][2] = {{0x04, 1},    {0x00, 0},    {0x02, 0},   {0x01, 0},
                                 {0x81, 0x00}, {0x82, 0x00}, {0x83, 0x00}};
    for (const auto& [function, value] : templates) {
        std::vector<BYTE> command = Bytes("\x1b*o3W");
        command.insert(command.end(), {0x81, function, value});
        expected.insert(expected.end(), command.begin(), command.end());
    }
    EXPECT_EQ(Written(300), expected);
    job_->SetJobByte(L"_SCREENING", 2);
    job_->SetJobByte(L"_ENHANCEDMODE", 4);
    const size_t templatesAt = Bytes("\x1b&l0O\x1b*t2.2I").size();
    std::vector<BYTE> screened = Bytes("\x1b&l0O\x1b*t18J\x1b*t2.2I");
    const size_t firstValue = screened.size() + Bytes("\x1b*o3W").size() + 2;
    screened.insert(screened.end(), expected.begin() + templatesAt, expected.end());
    screened[firstValue] = 2; // enhanced mode 4 is written as 2
    EXPECT_EQ(Written(300), screened);
    job_->SetJobByte(L"_COLORMETHOD", 0);
    EXPECT_EQ(Written(300), Bytes("\x1b&l0O"));
}

TEST_F(RenderCommandsTemplateModel, LandscapeTurnsTheFrontSide) {
    job_->SetJobByte(L"_COLORMETHOD", 0);
    job_->publicDevMode.dmOrientation = 2;
    EXPECT_EQ(Written(300), Bytes("\x1b&l1O"));
}

} // namespace
} // namespace moltr::test
