#include "Core/Base/Log.h"

namespace base
{
// The file is written in UTF-8, so the head says so.
const wchar_t* const MainLog::kPageHead =
    L"<html><head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
    L"<meta http-equiv=Content-Language content=ru><style>\n"
    L"body {font-family:verdana;}\n"
    L"hr { size:1px;color:000000 }\n"
    L"div.error { border-width:0 0 0 0px;border-style:solid;border-color:FF0000;color:AA0000;"
    L"background:#CCCCCC;font-weight:bold;padding-bottom:0px; }\n"
    L"span.info { color:000000; }\n"
    L"div.block { border-width:1px;border-style:solid;border-color:000000;padding:3px;margin-bottom:5px; }\n"
    L"div.blockhead { border-width:0px;padding:3px; font-weight:bold ;color:000000;background:#DDDDDD;}\n"
    L"</style></head>\n"
    L"<body>\n";

MainLog::MainLog() = default;

MainLog::~MainLog() { Shutdown(); }

void MainLog::AddHtmlOutput(LogOutput* output)
{
    output->Write(kPageHead);
    mHtmlOutputs.push_back(output);
}

void MainLog::AddTextOutput(LogOutput* output)
{
    output->Write(L"log initialized\n");
    mTextOutputs.push_back(output);
}

void MainLog::Shutdown()
{
    for (LogOutput* output : mHtmlOutputs)
    {
        output->Write(L"</body></html>");
        delete output;
    }
    mHtmlOutputs.clear();
    for (LogOutput* output : mTextOutputs)
    {
        output->Write(L"log terminated\n");
        delete output;
    }
    mTextOutputs.clear();
}
} // namespace base
