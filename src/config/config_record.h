// SPDX-License-Identifier: Apache-2.0
#pragma once

// The tracker's whole parameter set as one packed little-endian structure. Its layout is a file
// format (the body of every *.bin image), so every offset below is binding and checked at compile
// time. Members are named by their two-character parameter codes; texts are NUL-terminated.
//
// Code outside this header never takes the address of a member (they may be unaligned); it goes
// through the parameter table (parameter_table.h), which reads and writes fields by offset.

#include <bit>
#include <cstddef>
#include <cstdint>

namespace qn470 {

#pragma pack(push, 1)
struct ConfigRecord {
    uint16_t Length;     // record length, written for the bin image
    uint16_t Crc;        // CRC-16/XMODEM over bytes 4..1391, written for the bin image
    uint8_t FormatMark;  // image format mark, written for the bin image
    uint8_t Reserved5[3];
    uint32_t Flags;  // boolean parameters, see Flag
    uint8_t Reserved12[16];
    uint32_t U0;  // report interval if in alert state
    uint32_t U1;  // report interval if in alarm state
    uint8_t Reserved36[4];
    uint8_t U2;  // report media
    uint8_t Reserved41[3];
    uint32_t Unused44;  // no code; always zero
    uint8_t Reserved48[4];
    uint32_t Unused52;  // no code; always zero
    uint8_t Unused56;   // no code; always zero
    uint8_t Reserved57[3];
    uint32_t Unused60;  // no code; always zero
    uint8_t Reserved64[4];
    uint32_t Unused68;  // no code; always zero
    uint8_t Unused72;   // no code; always zero
    uint8_t Reserved73[3];
    uint32_t Unused76;  // no code; always zero
    uint32_t Unused80;  // no code; always zero
    uint32_t Unused84;  // no code; always zero
    uint8_t Unused88;   // no code; always zero
    uint8_t Reserved89[19];
    uint32_t T0;  // report interval if in alert state
    uint32_t T1;  // report interval if in alarm state
    uint32_t T3;  // maximum distance between reports
    uint8_t T2;   // report media
    uint8_t Reserved121[19];
    // Timers W, X, Y, Z: the Timer page's 0 to 3.
    uint8_t W3;  // one bit per weekday; the tracker keeps the low seven
    uint8_t W4;
    uint16_t W2;
    uint32_t W0;
    uint32_t W1;
    char W5[11];
    uint8_t Reserved163[5];
    uint8_t X3;  // one bit per weekday; the tracker keeps the low seven
    uint8_t X4;
    uint16_t X2;
    uint32_t X0;
    uint32_t X1;
    char X5[11];
    uint8_t Reserved191[5];
    uint8_t Y3;  // one bit per weekday; the tracker keeps the low seven
    uint8_t Y4;
    uint16_t Y2;
    uint32_t Y0;
    uint32_t Y1;
    char Y5[11];
    uint8_t Reserved219[5];
    uint8_t Z3;  // one bit per weekday; the tracker keeps the low seven
    uint8_t Z4;
    uint16_t Z2;
    uint32_t Z0;
    uint32_t Z1;
    char Z5[11];
    uint8_t Reserved247[5];
    // Counters Pa.., Pg.., Pm.., Ps..: the Counter page's 0 to 3.
    uint32_t Pa;
    uint8_t Pb;
    uint8_t Pc;
    char Pd[11];
    uint8_t Reserved269[3];
    uint32_t Pg;
    uint8_t Ph;
    uint8_t Pi;
    char Pj[11];
    uint8_t Reserved289[3];
    uint32_t Pm;
    uint8_t Pn;
    uint8_t Po;
    char Pp[11];
    uint8_t Reserved309[3];
    uint32_t Ps;
    uint8_t Pt;
    uint8_t Pu;
    char Pv[11];
    uint8_t Reserved329[3];
    // Stopwatches W, X, Y, Z: the Stopwatch page's 0 to 3.
    uint32_t WA;
    uint8_t WB;
    uint8_t WC;
    char WD[11];
    uint8_t WE;
    uint8_t Reserved350[2];
    uint32_t XA;
    uint8_t XB;
    uint8_t XC;
    char XD[11];
    uint8_t XE;
    uint8_t Reserved370[2];
    uint32_t YA;
    uint8_t YB;
    uint8_t YC;
    char YD[11];
    uint8_t YE;
    uint8_t Reserved390[2];
    uint32_t ZA;
    uint8_t ZB;
    uint8_t ZC;
    char ZD[11];
    uint8_t ZE;
    uint8_t Reserved410[2];
    // The ACC input (Qa..Qd), then digital inputs 1 to 3 (Qg.., Qm.., Qs..).
    uint8_t Qa;
    uint8_t Qb;
    char Qc[11];
    char Qd[11];
    uint8_t Qg;
    uint8_t Qh;
    char Qi[11];
    char Qj[11];
    uint8_t Qm;
    uint8_t Qn;
    char Qo[11];
    char Qp[11];
    uint8_t Qs;
    uint8_t Qt;
    char Qu[11];
    char Qv[11];
    char O5[16];
    char B1[20];
    char B2[16];
    char B3[16];
    char B0[8];
    char D1[32];
    char D2[32];
    char D3[32];
    char D4[32];
    char D5[32];
    char E0[32];  // host 1 (name or address)
    char E2[32];  // host 2 (name or address)
    uint16_t E1;
    uint16_t E3;
    char F0[20];
    char G0[20];
    char G1[20];
    char G2[20];
    char G3[20];
    char G4[20];
    char G5[20];
    char V4[20];  // call-out phone number 1
    char V8[20];  // call-out phone number 2
    char V9[20];  // call-out phone number 3
    char O3[32];
    char ON[32];
    uint32_t K2;
    int32_t O6;  // seconds
    uint16_t C3;
    uint16_t C2;
    uint16_t C1;
    uint8_t Reserved1090[2];
    uint16_t H1;
    uint16_t H2;  // SOS report interval
    uint8_t Reserved1096[2];
    uint16_t V5;
    uint16_t Rz;
    uint16_t O2;
    uint8_t Reserved1104[2];
    uint16_t J9;
    int8_t J2;   // high temperature for charging Li backup battery
    int8_t J3;   // low temperature for charging Li backup battery
    int8_t J4;   // high temperature for operation
    int8_t J5;   // low temperature for operation
    uint8_t H0;  // SOS report media
    uint8_t C4;  // maximum EPO download interval
    uint16_t E7;
    uint8_t J6;
    uint8_t K3;
    uint8_t OD;
    uint8_t Reserved1119[1];
    uint8_t SD;
    uint8_t K4;
    uint8_t OO;
    char Oa[8];
    uint8_t D8;
    uint8_t SA;
    uint8_t SB;
    uint8_t SC;
    uint8_t A2;
    uint8_t SI;
    uint8_t Reserved1137[1];
    uint16_t SJ;
    uint8_t SK;
    char SL[11];
    uint16_t Rw;
    uint16_t Rp;
    uint16_t C8;  // maximum GPS off time
    uint16_t C9;  // GPS off time for low speed
    uint32_t CA;  // dividend of GPS off time for high speed
    uint32_t OH;
    uint8_t H3;
    uint8_t OB;
    uint8_t OC;
    uint8_t Reserved1171[1];
    uint16_t E4;
    uint16_t Ry;
    uint16_t Rx;
    uint16_t OS;
    uint16_t E5;
    uint8_t E8;  // report media for EPO download
    uint8_t EA;
    uint8_t F2;
    uint8_t Reserved1185[1];
    char JA[11];
    char JB[11];
    char K6[11];
    char K7[11];
    uint8_t PC;
    char PD[11];
    uint16_t QE;
    uint32_t PA;
    uint16_t QA;
    uint16_t QB;
    uint8_t QC;
    char QD[11];
    uint8_t Reserved1264[1];
    uint8_t Qz;
    uint8_t Reserved1266[2];
    uint32_t Ra;
    uint32_t Ri;
    uint8_t Rb;
    uint8_t Rj;
    char Rc[11];
    char Rk[11];
    uint8_t Reserved1300[2];
    char SE[11];
    char SF[11];
    uint32_t Ro;
    uint8_t Rs;
    uint8_t Rt;
    char Ru[11];
    char Rv[11];
    uint8_t CC;   // report media when the GPS antenna is disconnected
    char CD[11];  // action when the GPS antenna is disconnected
    uint8_t Reserved1364[4];
    uint32_t S0;
    uint8_t S1;  // 0: 8 bits, 1: 9 bits
    uint8_t S2;  // 0: none, 1: even, 2: odd
    char S3[4];  // as text: "1" or "2"; the tracker also reports "0.5"
    uint8_t S4;
    uint8_t S5;
    char S6[11];
    uint8_t Reserved1391[1];
};
#pragma pack(pop)

inline constexpr std::size_t kConfigRecordSize = 1392;
static_assert(sizeof(ConfigRecord) == kConfigRecordSize);
static_assert(std::endian::native == std::endian::little,
              "the record image is little-endian and is written byte for byte");
static_assert(offsetof(ConfigRecord, Length) == 0);
static_assert(offsetof(ConfigRecord, Crc) == 2);
static_assert(offsetof(ConfigRecord, FormatMark) == 4);
static_assert(offsetof(ConfigRecord, Flags) == 8);
static_assert(offsetof(ConfigRecord, U0) == 28);
static_assert(offsetof(ConfigRecord, U1) == 32);
static_assert(offsetof(ConfigRecord, U2) == 40);
static_assert(offsetof(ConfigRecord, Unused44) == 44);
static_assert(offsetof(ConfigRecord, Unused52) == 52);
static_assert(offsetof(ConfigRecord, Unused56) == 56);
static_assert(offsetof(ConfigRecord, Unused60) == 60);
static_assert(offsetof(ConfigRecord, Unused68) == 68);
static_assert(offsetof(ConfigRecord, Unused72) == 72);
static_assert(offsetof(ConfigRecord, Unused76) == 76);
static_assert(offsetof(ConfigRecord, Unused80) == 80);
static_assert(offsetof(ConfigRecord, Unused84) == 84);
static_assert(offsetof(ConfigRecord, Unused88) == 88);
static_assert(offsetof(ConfigRecord, T0) == 108);
static_assert(offsetof(ConfigRecord, T1) == 112);
static_assert(offsetof(ConfigRecord, T3) == 116);
static_assert(offsetof(ConfigRecord, T2) == 120);
static_assert(offsetof(ConfigRecord, W3) == 140);
static_assert(offsetof(ConfigRecord, W4) == 141);
static_assert(offsetof(ConfigRecord, W2) == 142);
static_assert(offsetof(ConfigRecord, W0) == 144);
static_assert(offsetof(ConfigRecord, W1) == 148);
static_assert(offsetof(ConfigRecord, W5) == 152);
static_assert(offsetof(ConfigRecord, X3) == 168);
static_assert(offsetof(ConfigRecord, X4) == 169);
static_assert(offsetof(ConfigRecord, X2) == 170);
static_assert(offsetof(ConfigRecord, X0) == 172);
static_assert(offsetof(ConfigRecord, X1) == 176);
static_assert(offsetof(ConfigRecord, X5) == 180);
static_assert(offsetof(ConfigRecord, Y3) == 196);
static_assert(offsetof(ConfigRecord, Y4) == 197);
static_assert(offsetof(ConfigRecord, Y2) == 198);
static_assert(offsetof(ConfigRecord, Y0) == 200);
static_assert(offsetof(ConfigRecord, Y1) == 204);
static_assert(offsetof(ConfigRecord, Y5) == 208);
static_assert(offsetof(ConfigRecord, Z3) == 224);
static_assert(offsetof(ConfigRecord, Z4) == 225);
static_assert(offsetof(ConfigRecord, Z2) == 226);
static_assert(offsetof(ConfigRecord, Z0) == 228);
static_assert(offsetof(ConfigRecord, Z1) == 232);
static_assert(offsetof(ConfigRecord, Z5) == 236);
static_assert(offsetof(ConfigRecord, Pa) == 252);
static_assert(offsetof(ConfigRecord, Pb) == 256);
static_assert(offsetof(ConfigRecord, Pc) == 257);
static_assert(offsetof(ConfigRecord, Pd) == 258);
static_assert(offsetof(ConfigRecord, Pg) == 272);
static_assert(offsetof(ConfigRecord, Ph) == 276);
static_assert(offsetof(ConfigRecord, Pi) == 277);
static_assert(offsetof(ConfigRecord, Pj) == 278);
static_assert(offsetof(ConfigRecord, Pm) == 292);
static_assert(offsetof(ConfigRecord, Pn) == 296);
static_assert(offsetof(ConfigRecord, Po) == 297);
static_assert(offsetof(ConfigRecord, Pp) == 298);
static_assert(offsetof(ConfigRecord, Ps) == 312);
static_assert(offsetof(ConfigRecord, Pt) == 316);
static_assert(offsetof(ConfigRecord, Pu) == 317);
static_assert(offsetof(ConfigRecord, Pv) == 318);
static_assert(offsetof(ConfigRecord, WA) == 332);
static_assert(offsetof(ConfigRecord, WB) == 336);
static_assert(offsetof(ConfigRecord, WC) == 337);
static_assert(offsetof(ConfigRecord, WD) == 338);
static_assert(offsetof(ConfigRecord, WE) == 349);
static_assert(offsetof(ConfigRecord, XA) == 352);
static_assert(offsetof(ConfigRecord, XB) == 356);
static_assert(offsetof(ConfigRecord, XC) == 357);
static_assert(offsetof(ConfigRecord, XD) == 358);
static_assert(offsetof(ConfigRecord, XE) == 369);
static_assert(offsetof(ConfigRecord, YA) == 372);
static_assert(offsetof(ConfigRecord, YB) == 376);
static_assert(offsetof(ConfigRecord, YC) == 377);
static_assert(offsetof(ConfigRecord, YD) == 378);
static_assert(offsetof(ConfigRecord, YE) == 389);
static_assert(offsetof(ConfigRecord, ZA) == 392);
static_assert(offsetof(ConfigRecord, ZB) == 396);
static_assert(offsetof(ConfigRecord, ZC) == 397);
static_assert(offsetof(ConfigRecord, ZD) == 398);
static_assert(offsetof(ConfigRecord, ZE) == 409);
static_assert(offsetof(ConfigRecord, Qa) == 412);
static_assert(offsetof(ConfigRecord, Qb) == 413);
static_assert(offsetof(ConfigRecord, Qc) == 414);
static_assert(offsetof(ConfigRecord, Qd) == 425);
static_assert(offsetof(ConfigRecord, Qg) == 436);
static_assert(offsetof(ConfigRecord, Qh) == 437);
static_assert(offsetof(ConfigRecord, Qi) == 438);
static_assert(offsetof(ConfigRecord, Qj) == 449);
static_assert(offsetof(ConfigRecord, Qm) == 460);
static_assert(offsetof(ConfigRecord, Qn) == 461);
static_assert(offsetof(ConfigRecord, Qo) == 462);
static_assert(offsetof(ConfigRecord, Qp) == 473);
static_assert(offsetof(ConfigRecord, Qs) == 484);
static_assert(offsetof(ConfigRecord, Qt) == 485);
static_assert(offsetof(ConfigRecord, Qu) == 486);
static_assert(offsetof(ConfigRecord, Qv) == 497);
static_assert(offsetof(ConfigRecord, O5) == 508);
static_assert(offsetof(ConfigRecord, B1) == 524);
static_assert(offsetof(ConfigRecord, B2) == 544);
static_assert(offsetof(ConfigRecord, B3) == 560);
static_assert(offsetof(ConfigRecord, B0) == 576);
static_assert(offsetof(ConfigRecord, D1) == 584);
static_assert(offsetof(ConfigRecord, D2) == 616);
static_assert(offsetof(ConfigRecord, D3) == 648);
static_assert(offsetof(ConfigRecord, D4) == 680);
static_assert(offsetof(ConfigRecord, D5) == 712);
static_assert(offsetof(ConfigRecord, E0) == 744);
static_assert(offsetof(ConfigRecord, E2) == 776);
static_assert(offsetof(ConfigRecord, E1) == 808);
static_assert(offsetof(ConfigRecord, E3) == 810);
static_assert(offsetof(ConfigRecord, F0) == 812);
static_assert(offsetof(ConfigRecord, G0) == 832);
static_assert(offsetof(ConfigRecord, G1) == 852);
static_assert(offsetof(ConfigRecord, G2) == 872);
static_assert(offsetof(ConfigRecord, G3) == 892);
static_assert(offsetof(ConfigRecord, G4) == 912);
static_assert(offsetof(ConfigRecord, G5) == 932);
static_assert(offsetof(ConfigRecord, V4) == 952);
static_assert(offsetof(ConfigRecord, V8) == 972);
static_assert(offsetof(ConfigRecord, V9) == 992);
static_assert(offsetof(ConfigRecord, O3) == 1012);
static_assert(offsetof(ConfigRecord, ON) == 1044);
static_assert(offsetof(ConfigRecord, K2) == 1076);
static_assert(offsetof(ConfigRecord, O6) == 1080);
static_assert(offsetof(ConfigRecord, C3) == 1084);
static_assert(offsetof(ConfigRecord, C2) == 1086);
static_assert(offsetof(ConfigRecord, C1) == 1088);
static_assert(offsetof(ConfigRecord, H1) == 1092);
static_assert(offsetof(ConfigRecord, H2) == 1094);
static_assert(offsetof(ConfigRecord, V5) == 1098);
static_assert(offsetof(ConfigRecord, Rz) == 1100);
static_assert(offsetof(ConfigRecord, O2) == 1102);
static_assert(offsetof(ConfigRecord, J9) == 1106);
static_assert(offsetof(ConfigRecord, J2) == 1108);
static_assert(offsetof(ConfigRecord, J3) == 1109);
static_assert(offsetof(ConfigRecord, J4) == 1110);
static_assert(offsetof(ConfigRecord, J5) == 1111);
static_assert(offsetof(ConfigRecord, H0) == 1112);
static_assert(offsetof(ConfigRecord, C4) == 1113);
static_assert(offsetof(ConfigRecord, E7) == 1114);
static_assert(offsetof(ConfigRecord, J6) == 1116);
static_assert(offsetof(ConfigRecord, K3) == 1117);
static_assert(offsetof(ConfigRecord, OD) == 1118);
static_assert(offsetof(ConfigRecord, SD) == 1120);
static_assert(offsetof(ConfigRecord, K4) == 1121);
static_assert(offsetof(ConfigRecord, OO) == 1122);
static_assert(offsetof(ConfigRecord, Oa) == 1123);
static_assert(offsetof(ConfigRecord, D8) == 1131);
static_assert(offsetof(ConfigRecord, SA) == 1132);
static_assert(offsetof(ConfigRecord, SB) == 1133);
static_assert(offsetof(ConfigRecord, SC) == 1134);
static_assert(offsetof(ConfigRecord, A2) == 1135);
static_assert(offsetof(ConfigRecord, SI) == 1136);
static_assert(offsetof(ConfigRecord, SJ) == 1138);
static_assert(offsetof(ConfigRecord, SK) == 1140);
static_assert(offsetof(ConfigRecord, SL) == 1141);
static_assert(offsetof(ConfigRecord, Rw) == 1152);
static_assert(offsetof(ConfigRecord, Rp) == 1154);
static_assert(offsetof(ConfigRecord, C8) == 1156);
static_assert(offsetof(ConfigRecord, C9) == 1158);
static_assert(offsetof(ConfigRecord, CA) == 1160);
static_assert(offsetof(ConfigRecord, OH) == 1164);
static_assert(offsetof(ConfigRecord, H3) == 1168);
static_assert(offsetof(ConfigRecord, OB) == 1169);
static_assert(offsetof(ConfigRecord, OC) == 1170);
static_assert(offsetof(ConfigRecord, E4) == 1172);
static_assert(offsetof(ConfigRecord, Ry) == 1174);
static_assert(offsetof(ConfigRecord, Rx) == 1176);
static_assert(offsetof(ConfigRecord, OS) == 1178);
static_assert(offsetof(ConfigRecord, E5) == 1180);
static_assert(offsetof(ConfigRecord, E8) == 1182);
static_assert(offsetof(ConfigRecord, EA) == 1183);
static_assert(offsetof(ConfigRecord, F2) == 1184);
static_assert(offsetof(ConfigRecord, JA) == 1186);
static_assert(offsetof(ConfigRecord, JB) == 1197);
static_assert(offsetof(ConfigRecord, K6) == 1208);
static_assert(offsetof(ConfigRecord, K7) == 1219);
static_assert(offsetof(ConfigRecord, PC) == 1230);
static_assert(offsetof(ConfigRecord, PD) == 1231);
static_assert(offsetof(ConfigRecord, QE) == 1242);
static_assert(offsetof(ConfigRecord, PA) == 1244);
static_assert(offsetof(ConfigRecord, QA) == 1248);
static_assert(offsetof(ConfigRecord, QB) == 1250);
static_assert(offsetof(ConfigRecord, QC) == 1252);
static_assert(offsetof(ConfigRecord, QD) == 1253);
static_assert(offsetof(ConfigRecord, Qz) == 1265);
static_assert(offsetof(ConfigRecord, Ra) == 1268);
static_assert(offsetof(ConfigRecord, Ri) == 1272);
static_assert(offsetof(ConfigRecord, Rb) == 1276);
static_assert(offsetof(ConfigRecord, Rj) == 1277);
static_assert(offsetof(ConfigRecord, Rc) == 1278);
static_assert(offsetof(ConfigRecord, Rk) == 1289);
static_assert(offsetof(ConfigRecord, SE) == 1302);
static_assert(offsetof(ConfigRecord, SF) == 1313);
static_assert(offsetof(ConfigRecord, Ro) == 1324);
static_assert(offsetof(ConfigRecord, Rs) == 1328);
static_assert(offsetof(ConfigRecord, Rt) == 1329);
static_assert(offsetof(ConfigRecord, Ru) == 1330);
static_assert(offsetof(ConfigRecord, Rv) == 1341);
static_assert(offsetof(ConfigRecord, CC) == 1352);
static_assert(offsetof(ConfigRecord, CD) == 1353);
static_assert(offsetof(ConfigRecord, S0) == 1368);
static_assert(offsetof(ConfigRecord, S1) == 1372);
static_assert(offsetof(ConfigRecord, S2) == 1373);
static_assert(offsetof(ConfigRecord, S3) == 1374);
static_assert(offsetof(ConfigRecord, S4) == 1378);
static_assert(offsetof(ConfigRecord, S5) == 1379);
static_assert(offsetof(ConfigRecord, S6) == 1380);

}  // namespace qn470
