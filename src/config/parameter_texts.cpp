// SPDX-License-Identifier: Apache-2.0
#include "config/parameter_texts.h"

#include <algorithm>

namespace qn470 {
namespace {

constexpr std::string_view kMedia = "(Media type)";
constexpr std::string_view kAction = "(Action type)";
constexpr std::string_view kSec = "sec";
constexpr std::string_view kMillivolt = "mV";
constexpr std::string_view kMetre = "m";
constexpr std::string_view kSpeed = "km/h";

// Constant-initialised: the pages build their binding tables from it while the program starts.
// A few controls are created but never shown (E2, E3, C7, CB); their labels still name them to
// assistive tools.
constexpr ParameterText kTexts[] = {
    // Main
    {"O5", "(O5) Device ID :", "", ""},
    {"O7", "(O7) Firmware Version :", "", ""},
    {"O6", "(O6) Time Zone Offset :", "(-43200 ~ 46800 sec)", kSec},
    {"B0", "(B0) PIN code :", "", ""},
    {"B1", "(B1) Phone number of SIM card :", "", ""},
    {"B2", "(B2) IMEI number :", "", ""},
    {"B3", "(B3) IMSI number :", "", ""},
    {"J6", "(J6) Battery alarm report Media :", kMedia, ""},
    {"J9", "(J9) Threshold of main battery low alarm :", "(10000 ~ 12000 mV)", kMillivolt},
    {"JA", "(JA) Action for main battery disconnection alarm :", kAction, ""},
    {"JB", "(JB) Action for main battery low alarm :", kAction, ""},
    {"O2", "(O2) Datalogger interval :", "(0 ~ 65535 sec, 0=disable)", kSec},
    {"O3", "(O3) Report format 0 :", "", ""},
    {"O8", "(O8) Report \"cell ID\" if GPS mode is not fixed.", "", ""},
    {"OB", "(OB) Debug message output media :", "", ""},
    {"OC", "(OC) Debug message level :", "", ""},
    {"OG", "(OG) Enable data buffer function.", "", ""},
    {"OH", "(OH) Datalogger distance :", "(0 ~ 4Giga m, 0=disable)", kMetre},
    {"ON", "(ON) Report format 1 :", "", ""},
    {"OO", "(OO) Report media for reading configuration :", kMedia, ""},
    {"Oa", "(Oa) Password for simple command :", "(Null=disable password)", ""},

    // GPS
    {"C1", "(C1) Max GPS on time if last try is not fix or 1 hours ago :", "(60 ~ 600 sec)", kSec},
    {"C2", "(C2) Max GPS on time if last try is fix :", "(10 ~ 120 sec)", kSec},
    {"C3", "(C3) First report time :", "(0 ~ 600 sec, 0=disable first report time)", kSec},
    {"C5", "(C5) Enable NMEA output message", "", ""},
    {"C7", "(C7) Variable maximum GPS off time ", "", ""},  // the trailing blank is the label's
    {"CB", "(CB) Check GPS off time setting (C7,C8,C9,CA)", "", ""},
    {"CC", "(CC) Report Media :", kMedia, ""},
    {"CD", "(CD) Action :", kAction, ""},

    // Communication
    {"D1", "(D1) APN :", "", ""},
    {"D2", "(D2) User Name :", "", ""},
    {"D3", "(D3) Password :", "", ""},
    {"D4", "(D4) DNS1 :", "", ""},
    {"D5", "(D5) DNS2 :", "", ""},
    {"D8", "(D8) GPRS mode for L4 command :", "", ""},
    {"E0", "(E0) Host IP 1 :", "", ""},
    {"E1", "(E1) Host Port number1 :", "(0, 80, 1024~ 65535)", ""},
    {"E2", "(E2) Host IP 2 :", "", ""},
    {"E3", "(E3) Host Port number 2 :", "", ""},
    {"E4", "(E4) Time to disconnect and then re-connect after being on-line for specified time :",
     "(60 ~ 65535 sec, 0=disable)", kSec},
    {"E5", "(E5) Interval to check connection for GPRS on-line:", "(0 ~ 65535 sec, 0=disable)",
     kSec},
    {"E6", "(E6) Send \"OK\" after re-connection", "", ""},
    {"E7", "(E7) Time out for L4 connection :", "(2 ~ 65535 sec)", kSec},
    {"EA", "(EA) Interval to keep connected after sending report :", "(2 ~255)", ""},
    {"F0", "(F0) SMS return phone number :", "", ""},
    {"F2", "(F2) SMS format", "", ""},
    {"A0", "(A0) Send confirmation to server for command from server", "", ""},
    {"A1", "(A1) Wait confirmation from server for message to server", "", ""},
    {"A2", "(A2) Timeout of waiting confirmation from server :", "(1 ~ 255 sec)", kSec},
    {"A3", "(A3) Device ack with ID string", "", ""},
    {"A4", "(A4) Ack ID string is IMEI", "", ""},
    {"A5", "(A5) Enable simple command", "", ""},

    // Security
    {"G0", "(G0) SMS Phone number1 :", "", ""},
    {"G1", "(G1) SMS Phone number2 :", "", ""},
    {"G2", "(G2) SMS Phone number3 :", "", ""},
    {"G3", "(G3) SMS Phone number4 :", "", ""},
    {"G4", "(G4) SMS Phone number5 :", "", ""},
    {"G5", "(G5) SMS Phone number6 :", "", ""},
    {"H0", "(H0) Report media :", kMedia, ""},
    {"H1", "(H1) Max number of SMS report for each phone number :", "(1 ~ 65535)", ""},
    {"H2", "(H2) Report interval :", "(3 ~ 65535 sec)", kSec},
    {"H3", "(H3) Number of GPRS report :", "(0 ~ 255, 0=continuous until dismissed)", ""},
    {"V0", "(V0) Call out SOS phone number 1 when SOS alarm", "", ""},
    // The call-in numbers sit under a group title that says what they are for.
    {"V4", "(V4) 1 :", "", ""},
    {"V8", "(V8) 2 :", "", ""},
    {"V9", "(V9) 3 :", "", ""},
    {"V5", "(V5) Voice Monitor call in time out  for command N4 :", "(10 ~ 65535 sec)", kSec},
    {"V6", "(V6) Call out phone number (V4) for command N4", "", ""},

    // Function
    {"OD", "(OD) Report media for ping :", kMedia, ""},
    {"OS", "(OS) Max report time for ping :", "(1 ~ 65535 sec)", kSec},
    {"PA", "(PA) Trigger interval :", "(50 ~ 4Giga m, 0=no trigger)", kMetre},
    {"PC", "(PC) Report Media :", kMedia, ""},
    {"PD", "(PD) Action :", kAction, ""},
    {"PE", "(PE) Enable distance accumulator", "", ""},
    {"SA", "(SA) Upper limit of speed alarm :", "(0 ~ 255 Km/H, 0=disable)", kSpeed},
    {"SB", "(SB) Lower limit of speed alarm :", "(0 ~ 255 Km/H, 0=disable)", kSpeed},
    {"SC", "(SC) Hysterisis for speed alarm :", "(0 ~ 255 Km/H, 0=disable)", kSpeed},
    {"SD", "(SD) Report Media for speed alarm :", kMedia, ""},
    {"SE", "(SE) Action for high speed alarm :", kAction, ""},
    {"SF", "(SF) Action for low speed alarm :", kAction, ""},
    {"SI", "(SI) Enable parking alert", "", ""},
    {"SJ", "(SJ) Trigger source of parking alarm :", "", ""},
    {"SK", "(SK) Report Media of parking alarm :", kMedia, ""},
    {"SL", "(SL) Action of parking alarm :", kAction, ""},
    {"K0", "(K0) Geofence Enable", "", ""},
    {"K1", "(K1) Enable autonomous geofence", "", ""},
    {"K2", "(K2) Autonomous geofence radius :", "(30 ~ 4Giga m)", kMetre},
    {"K3", "(K3) Geofence alarm report Media :", kMedia, ""},
    {"K4", "(K4) Report media for reading geofence data :", kMedia, ""},
    {"K6", "(K6) Action for geofence alarm :", kAction, ""},
    {"K7", "(K7) Action for autonomous geofence alarm :", kAction, ""},

    // Timer
    {"W0", "(W0) Start time :", "(0 ~ 86399 sec)", kSec},
    {"W1", "(W1) End time :", "(1~86400 sec)", kSec},
    {"W2", "(W2) Report interval :", "(1 ~ 65535 sec)", kSec},
    {"W3", "(W3) Weekday mask :", "(00 ~ 7F)", ""},
    {"W4", "(W4) Report Media :", kMedia, ""},
    {"W5", "(W5) Action :", kAction, ""},
    {"X0", "(X0) Start time :", "(0 ~ 86399 sec)", kSec},
    {"X1", "(X1) End time :", "(1~86400 sec)", kSec},
    {"X2", "(X2) Report interval :", "(1 ~ 65535 sec)", kSec},
    {"X3", "(X3) Weekday mask :", "(00 ~ 7F)", ""},
    {"X4", "(X4) Report Media :", kMedia, ""},
    {"X5", "(X5) Action :", kAction, ""},
    {"Y0", "(Y0) Start time :", "(0 ~ 86399 sec)", kSec},
    {"Y1", "(Y1) End time :", "(1~86400 sec)", kSec},
    {"Y2", "(Y2) Report interval :", "(1 ~ 65535 sec)", kSec},
    {"Y3", "(Y3) Weekday mask :", "(00 ~ 7F)", ""},
    {"Y4", "(Y4) Report Media :", kMedia, ""},
    {"Y5", "(Y5) Action :", kAction, ""},
    {"Z0", "(Z0) Start time :", "(0 ~ 86399 sec)", kSec},
    {"Z1", "(Z1) End time :", "(1~86400 sec)", kSec},
    {"Z2", "(Z2) Report interval :", "(1 ~ 65535 sec)", kSec},
    {"Z3", "(Z3) Weekday mask :", "(00 ~ 7F)", ""},
    {"Z4", "(Z4) Report Media :", kMedia, ""},
    {"Z5", "(Z5) Action :", kAction, ""},

    // Stopwatch
    {"WA", "(WA) Report interval :", "(3 ~ 4Giga sec)", kSec},
    {"WB", "(WB) Number of report", "(0 ~ 255, 0=continuously)", ""},
    {"WC", "(WC) Report Media :", kMedia, ""},
    {"WD", "(WD) Action :", kAction, ""},
    {"WE", "(WE) Enable Stopwatch", "", ""},
    {"XA", "(XA) Report interval :", "(3 ~ 4Giga sec)", kSec},
    {"XB", "(XB) Number of report", "(0 ~ 255, 0=continuously)", ""},
    {"XC", "(XC) Report Media :", kMedia, ""},
    {"XD", "(XD) Action :", kAction, ""},
    {"XE", "(XE) Enable Stopwatch", "", ""},
    {"YA", "(YA) Report interval :", "(3 ~ 4Giga sec)", kSec},
    {"YB", "(YB) Number of report", "(0 ~ 255, 0=continuously)", ""},
    {"YC", "(YC) Report Media :", kMedia, ""},
    {"YD", "(YD) Action :", kAction, ""},
    {"YE", "(YE) Enable Stopwatch", "", ""},
    {"ZA", "(ZA) Report interval :", "(3 ~ 4Giga sec)", kSec},
    {"ZB", "(ZB) Number of report", "(0 ~ 255, 0=continuously)", ""},
    {"ZC", "(ZC) Report Media :", kMedia, ""},
    {"ZD", "(ZD) Action :", kAction, ""},
    {"ZE", "(ZE) Enable Stopwatch", "", ""},

    // Counter
    {"Pa", "(Pa) Trigger level :", "(0 ~ 4Giga, 0=no trigger)", ""},
    {"Pb", "(Pb) Automatically reset counter", "", ""},
    {"Pc", "(Pc) Report Media :", kMedia, ""},
    {"Pd", "(Pd) Action :", kAction, ""},
    {"Pg", "(Pg) Trigger level :", "(0 ~ 4Giga, 0=no trigger)", ""},
    {"Ph", "(Ph) Automatically reset counter", "", ""},
    {"Pi", "(Pi) Report Media :", kMedia, ""},
    {"Pj", "(Pj) Action :", kAction, ""},
    {"Pm", "(Pm) Trigger level :", "(0 ~ 4Giga, 0=no trigger)", ""},
    {"Pn", "(Pn) Automatically reset counter", "", ""},
    {"Po", "(Po) Report Media :", kMedia, ""},
    {"Pp", "(Pp) Action :", kAction, ""},
    {"Ps", "(Ps) Trigger level :", "(0 ~ 4Giga, 0=no trigger)", ""},
    {"Pt", "(Pt) Automatically reset counter", "", ""},
    {"Pu", "(Pu) Report Media :", kMedia, ""},
    {"Pv", "(Pv) Action :", kAction, ""},

    // Input/output. The labels keep their two blanks before "is activated".
    {"Qa", "(Qa) Report media when ACC input  is activated :", kMedia, ""},
    {"Qb", "(Qb) Report media when ACC input goes inactive :", kMedia, ""},
    {"Qc", "(Qc) Action when ACC input  is activated :", kAction, ""},
    {"Qd", "(Qd) Action when ACC input goes inactive :", kAction, ""},
    {"Qg", "(Qg) Report media when digital input  is activated :", kMedia, ""},
    {"Qh", "(Qh) Report media when digital input goes inactive :", kMedia, ""},
    {"Qi", "(Qi) Action when digital input  is activated :", kAction, ""},
    {"Qj", "(Qj) Action when digital input goes inactive :", kAction, ""},
    {"Qm", "(Qm) Report media when digital input  is activated :", kMedia, ""},
    {"Qn", "(Qn) Report media when digital input goes inactive :", kMedia, ""},
    {"Qo", "(Qo) Action when digital input  is activated :", kAction, ""},
    {"Qp", "(Qp) Action when digital input goes inactive :", kAction, ""},
    {"Qs", "(Qs) Report media when digital input  is activated :", kMedia, ""},
    {"Qt", "(Qt) Report media when digital input goes inactive :", kMedia, ""},
    {"Qu", "(Qu) Action when digital input  is activated :", kAction, ""},
    {"Qv", "(Qv) Action when digital input goes inactive :", kAction, ""},
    {"Qz", "(Qz) Digital output status :", "", ""},
    {"QA", "(QA) Upper threshold :", "(0 ~ 65535 mV, 0=no trigger)", kMillivolt},
    {"QB", "(QB) Lower threshold :", "(0 ~ 65535 mV, 0=no trigger)", kMillivolt},
    {"QC", "(QC) Report Media :", kMedia, ""},
    {"QD", "(QD) Action :", kAction, ""},
    {"QE", "(QE) Check interval :", "(0 ~ 65535 sec, 0=disable)", kSec},

    // Motion sensor. The state-change media and actions have no hint: their labels are long.
    {"Ra", "(Ra) Report interval :", "(3 ~ 4Giga sec, 0=disable)", kSec},
    {"Rb", "(Rb) Report Media :", kMedia, ""},
    {"Rc", "(Rc) Action :", kAction, ""},
    {"Rd", "(Rd) GPS always on", "", ""},
    {"Re", "(Re) Turn off GSM", "", ""},
    {"Rf", "(Rf) Keep GPRS on-line", "", ""},
    {"Ri", "(Ri) Report interval :", "(3 ~ 4Giga sec, 0=disable)", kSec},
    {"Rj", "(Rj) Report Media :", kMedia, ""},
    {"Rk", "(Rk) Action :", kAction, ""},
    {"Rl", "(Rl) GPS always on", "", ""},
    {"Rn", "(Rn) Keep GPRS on-line", "", ""},
    {"Ro", "(Ro) Maximum distance between report :", "(50 ~ 4Giga m, 0=disable)", kMetre},
    {"Rp", "(Rp) Check distance to keep moving state :", "(50 ~ 65535 m, 0=disable)", kMetre},
    {"Rs", "(Rs) Report Media for changing from static to moving :", "", ""},
    {"Rt", "(Rt) Report Media for changing from moving to static :", "", ""},
    {"Ru", "(Ru) Action for changing from static to moving :", "", ""},
    {"Rv", "(Rv) Action for changing from moving to static :", "", ""},
    {"Rw", "(Rw) Minimum distance to be treated as moving :", "(30 ~ 65535 m, 0=disable)", kMetre},
    {"Rx", "(Rx) Time to switch from validation to static state if no motion syndrome detected :",
     "(3 ~ 65535 sec, 0=time is the same as Ri)", kSec},
    {"Ry", "(Ry) Time to switch from moving to static state if no motion syndrome detected :",
     "(3 ~ 65535 sec, 0=time is the same as Ri)", kSec},
    {"Rz", "(Rz) Motion sensor sensitivity :", "(0 ~  65535, 0=disable)", ""},

    // Serial port
    {"S0", "(S0) serial port baud rate :", "", ""},
    {"S1", "(S1) serial port data bits :", "", ""},
    {"S2", "(S2) serial port parity check :", "", ""},
    {"S3", "(S3) serial port stop bits :", "", ""},
    {"S4", "(S4) serial port data transmission active", "", ""},
    {"S5", "(S5) Report Media :", kMedia, ""},
    {"S6", "(S6) Action :", kAction, ""},
};

}  // namespace

std::span<const ParameterText> parameterTexts() {
    return kTexts;
}

const ParameterText* findParameterText(std::string_view code) {
    const auto* found = std::find_if(std::begin(kTexts), std::end(kTexts),
                                     [code](const ParameterText& t) { return t.code == code; });
    return found != std::end(kTexts) ? found : nullptr;
}

}  // namespace qn470
