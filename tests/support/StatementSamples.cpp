// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatementSamples.h"

#include "IconvConverter.h"
#include "Nrb.h"

#include <sstream>

namespace StatementSamples {

std::string Nrb(const std::string& last24) {
    const std::u16string rest(last24.begin(), last24.end());
    const int check = CheckNRB(u"00" + rest).expected;
    // Built in steps: GCC 12 warns falsely on a literal + a temporary string in Release.
    std::string number = check < 10 ? "0" : "";
    number += std::to_string(check);
    number += last24;
    return number;
}

std::string Encoded(const std::string& utf8, const char* codePage) {
    const IconvConverter converter(codePage, "UTF-8");
    return converter.convert(utf8.data(), utf8.size(), "?", 1);
}

std::string Wrapped(const std::string& text, size_t width) {
    std::istringstream in(text);
    std::string out, line;
    while (std::getline(in, line)) {
        const bool cr = !line.empty() && line.back() == '\r';
        if (cr) {
            line.pop_back();
        }
        size_t characters = 0;
        for (const char c : line) {
            const bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            if (lead && characters == width) {
                out += cr ? "\r\n" : "\n";
                characters = 0;
            }
            characters += lead ? 1 : 0;
            out += c;
        }
        out += cr ? "\r\n" : "\n";
    }
    return out;
}

std::string Mt940(const std::string& account, const Mt940Options& o) {
    const std::string s(1, o.separator);
    const std::string e = o.lineEnd;
    std::string text;
    text += (o.soh ? "\x01" + e : "") + ":20:WYC/2024/001" + e;
    text += ":25:/PL" + account + e + ":28C:00001/1" + e;
    text += ":60F:C240115PLN1000,00" + e;
    text += ":61:2401150116DN12,34NMSCNONREF//BR24015000001" + e + "PŁATNOŚĆ KARTĄ" + e;
    text += ":86:073" + s + "00PŁATNOŚĆ KARTĄ" + s + "20Zakupy w sklepie Żabka " + s +
            "21ul. Łąkowa 5, Gdańsk" + s + "32Żabka Polska Sp. z o.o." + s + "33 Oddział Źródło" +
            e;
    text += ":61:240116C250,00NTRFREF123//BR24016000002" + e;
    text += ":86:051" + s + "00PRZELEW PRZYCHODZĄCY" + s + "20Zwrot za bilety" + s +
            "27Jan Kowalski" + s + "3010201026" + s + "310000123456789012" + s + "38PL" +
            Nrb("102010260000123456789012") + e;
    text += ":62F:C240116PLN1237,66" + e + "-" + (o.soh ? "\x03" : "") + e;
    return Wrapped(text, 65);
}

std::string Camt(const std::string& account, const std::string& version) {
    const bool v8 = version >= "08";
    auto status = [v8](const char* code) {
        return v8 ? std::string("<Sts><Cd>") + code + "</Cd></Sts>"
                  : std::string("<Sts>") + code + "</Sts>";
    };
    auto party = [v8](const char* role, const char* name, const std::string& iban) {
        const std::string nm = std::string("<Nm>") + name + "</Nm>";
        return std::string("<") + role + ">" + (v8 ? "<Pty>" + nm + "</Pty>" : nm) + "</" + role +
               "><" + role + "Acct><Id><IBAN>PL" + iban + "</IBAN></Id></" + role + "Acct>";
    };
    auto balance = [](const char* code, const char* amount) {
        return std::string("<Bal><Tp><CdOrPrtry><Cd>") + code +
               "</Cd></CdOrPrtry></Tp><Amt Ccy=\"PLN\">" + amount +
               "</Amt><CdtDbtInd>CRDT</CdtDbtInd><Dt><Dt>2024-03-01</Dt></Dt></Bal>";
    };
    std::string x =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document "
        "xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001." +
        version + "\"><BkToCstmrStmt><GrpHdr><MsgId>M1</MsgId></GrpHdr><Stmt><Id>WYC-7</Id>";
    x += "<Acct><Id><IBAN>PL" + account + "</IBAN></Id><Ccy>PLN</Ccy></Acct>";
    x += balance("OPBD", "100.00") + balance("CLBD", "1280.5");
    x += "<Ntry><NtryRef>N1</NtryRef><Amt Ccy=\"PLN\">19.5</Amt><CdtDbtInd>DBIT</CdtDbtInd>" +
         status("BOOK") +
         "<BookgDt><Dt>2024-03-02+01:00</Dt></BookgDt><ValDt><DtTm>2024-03-01T23:59:59.123</DtTm></"
         "ValDt>"
         "<AcctSvcrRef>REF-1</AcctSvcrRef><BkTxCd><Domn><Cd>PMNT</Cd><Fmly><Cd>CCRD</Cd>"
         "<SubFmlyCd>POSD</SubFmlyCd></Fmly></Domn></BkTxCd><NtryDtls><TxDtls><RltdPties>" +
         party("Cdtr", "Kawiarnia „Pod Żurawiem”", Nrb("114020040000350200000001")) +
         "</RltdPties><RmtInf><Ustrd>Kawa</Ustrd><Ustrd>i "
         "ciastko</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>";
    x += "<Ntry><Amt Ccy=\"PLN\">55.00</Amt><CdtDbtInd>DBIT</CdtDbtInd>" + status("PDNG") +
         "<BookgDt><Dt>2024-03-03</Dt></BookgDt><AddtlNtryInf>Blokada</AddtlNtryInf></Ntry>";
    x += "<Ntry><Amt Ccy=\"PLN\">1200</Amt><CdtDbtInd>CRDT</CdtDbtInd>" + status("BOOK") +
         "<BookgDt><Dt>2024-03-04</Dt></BookgDt><AcctSvcrRef>B-9</AcctSvcrRef>"
         "<BkTxCd><Domn><Cd>PMNT</Cd><Fmly><Cd>RCDT</Cd><SubFmlyCd>ESCT</SubFmlyCd></Fmly></Domn></"
         "BkTxCd>"
         "<NtryDtls><Btch><NbOfTxs>3</NbOfTxs></Btch>";
    const char* amounts[] = {"200.00", "400", "600.000"};
    const char* names[] = {"Anna Nowak", "Piotr Wiśniewski", "Zofia Wójcik"};
    for (int i = 0; i < 3; ++i) {
        x += std::string("<TxDtls><AmtDtls><TxAmt><Amt Ccy=\"PLN\">") + amounts[i] +
             "</Amt></TxAmt></AmtDtls><RltdPties>" +
             party("Dbtr", names[i], Nrb("10501445000000000000000" + std::to_string(i))) +
             "</RltdPties><RmtInf><Ustrd>Składka " + std::to_string(i + 1) +
             "</Ustrd></RmtInf></TxDtls>";
    }
    x += "</NtryDtls></Ntry></Stmt></BkToCstmrStmt></Document>\n";
    return x;
}

std::string Ofx(const std::string& account, bool xml) {
    auto leaf = [xml](const char* tag, const std::string& value) {
        return std::string("<") + tag + ">" + value + (xml ? std::string("</") + tag + ">" : "") +
               "\n";
    };
    auto transaction = [&](const char* type, const char* posted, const char* user,
                           const char* amount, const char* id, const char* name, const char* memo) {
        std::string t = "<STMTTRN>\n" + leaf("TRNTYPE", type) + leaf("DTPOSTED", posted);
        t += user[0] ? leaf("DTUSER", user) : "";
        return t + leaf("TRNAMT", amount) + leaf("FITID", id) + leaf("NAME", name) +
               leaf("MEMO", memo) + "</STMTTRN>\n";
    };
    std::string body = "<OFX>\n<BANKMSGSRSV1>\n<STMTTRNRS>\n<STMTRS>\n" + leaf("CURDEF", "PLN") +
                       "<BANKACCTFROM>\n" + leaf("BANKID", account.substr(2, 8)) +
                       leaf("ACCTID", account) + "</BANKACCTFROM>\n<BANKTRANLIST>\n";
    body += transaction("POS", "20240510120000[+2:CEST]", "20240509", "-45,90", "F-1",
                        "Księgarnia Świat", "Książki &amp; zeszyty");
    body += transaction("XFER", "20240511", "", "3000.00", "F-2", "Pracodawca S.A.",
                        "Wynagrodzenie maj");
    body +=
        transaction("ATM", "20240512", "20240512", "-200.00", "F-3", "Bankomat", "Wypłata gotówki");
    body += "</BANKTRANLIST>\n<LEDGERBAL>\n" + leaf("BALAMT", "99999.99") +
            leaf("DTASOF", "20240512") +
            "</LEDGERBAL>\n</STMTRS>\n</STMTTRNRS>\n</BANKMSGSRSV1>\n</OFX>\n";
    if (xml) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?OFX OFXHEADER=\"200\" "
               "VERSION=\"220\"?>\n" +
               body;
    }
    return Encoded(
        "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nENCODING:USASCII\r\nCHARSET:1250\r\n\r\n" +
            body,
        "WINDOWS-1250");
}

}  // namespace StatementSamples
