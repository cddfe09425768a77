#include "core/editor/ColourLanguage.h"

#include "core/platform/Paths.h"

namespace tovin {

namespace {

constexpr std::string_view kJavaWordCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
constexpr std::string_view kMarkupWordCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_$@%&";

constexpr std::string_view kJavaKeywords =
    "abstract;boolean;break;byte;byvalue;case;cast;"
    "default;do;double;else;extends;false;final;goto;if;implements;"
    "import;inner;instanceof;int;operator;outer;package;private;"
    "protected;public;rest;synchronized;this;throw;throws;transient;"
    "true;try;catch;char;class;const;continue;finally;float;for;future;"
    "generic;interface;long;native;new;null;return;short;static;super;"
    "switch;var;void;volatile;while;"
    // Reserved words of later Java versions.
    "assert;enum;strictfp;";

constexpr SContextualKeyword kJavaContextualKeywords[] = {
    {"record", EKeywordContext::RecordDeclaration}, {"sealed", EKeywordContext::ClassModifier},
    {"non-sealed", EKeywordContext::ClassModifier}, {"permits", EKeywordContext::PermitsList},
    {"yield", EKeywordContext::YieldStatement},
};

constexpr std::string_view kHtmlKeywords =
    "a;abbr;acronym;address;applet;area;b;base;basefont;bdo;bgsound;"
    "big;blink;blockquote;body;br;button;caption;center;cite;code;col;colgroup;"
    "comment;dd;del;dfn;dir;div;dl;dt;em;embed;fieldset;font;form;frame;frameset;"
    "h1;h2;h3;h4;h5;h6;head;hr;html;i;iframe;ilayer;img;input;ins;isindex;kbd;keygen;"
    "label;layer;legend;li;link;listing;map;marquee;menu;meta;multicol;nobr;noembed;"
    "noframes;nolayer;noscript;object;ol;optgroup;option;p;param;plaintext;pre;q;s;"
    "samp;script;select;server;small;spacer;span;strike;strong;style;sub;sup;table;tbody;"
    "td;textarea;tfoot;th;thead;title;tr;tt;u;ul;var;wbr;xmp;";

constexpr std::string_view kAntKeywords =
    "project;target;ant;antcall;antstructure;available;basename;"
    "buildnumber;bunzip2;bzip2;checksum;chmod;classpath;"
    "concat;condition;contains;copy;copydir;copyfile;cvs;cvschangelog;cvspass;cvstagdiff;delete;"
    "deltree;"
    "dependset;description;dirname;dirset;ear;echo;exec;fail;filelist;fileset;filter;filterchain;"
    "filterreader;"
    "filterset;fixcrlf;genkey;get;gunzip;gzip;include;input;jar;"
    "java;javac;javadoc;javadoc2;loadfile;loadproperties;mail;manifest;mkdir;move;parallel;"
    "patch;path;pathconvert;pathelement;patternset;property;record;rename;replace;rmic;sequential;"
    "signjar;sleep;"
    "sql;style;tar;taskdef;tempfile;touch;tstamp;typedef;unjar;untar;unwar;unzip;uptodate;"
    "waitfor;war;xmlcatalog;xmlproperty;xslt;zip;";

constexpr std::string_view kJythonKeywords =
    "abs;acos;and;apply;array;asin;assert;atan;break;"
    "callable;chr;class;cmp;coerce;continue;complex;cos;close;compile;"
    "def;del;delattr;dir;divmod;e;elif;else;eval;except;exp;exec;execfile;"
    "fabs;filter;finally;float;floor;for;from;getattr;global;globals;"
    "hasattr;hash;hex;id;if;import;in;input;int;is;lambda;len;list;locals;"
    "log;log10;long;map;min;not;oct;open;or;ord;pass;pi;"
    "pow;print;raise;range;reload;repr;return;round;self;setattr;sin;sqrt;str;tan;try;"
    "tuple;type;unicode;vars;while;write;xrange;zeros;zip;";

constexpr SLanguageRules kJava{.language = ELanguage::Java,
                               .wordCharacters = kJavaWordCharacters,
                               .foldCase = false,
                               .keywordList = kJavaKeywords,
                               .contextualKeywords = kJavaContextualKeywords,
                               .escapeRule = EEscapeRule::Double,
                               .markup = false,
                               .lineComment = "//",
                               .blockOpen = "/*",
                               .blockClose = "*/"};
constexpr SLanguageRules kHtml{.language = ELanguage::Html,
                               .wordCharacters = kMarkupWordCharacters,
                               .foldCase = true,
                               .keywordList = kHtmlKeywords,
                               .contextualKeywords = {},
                               .escapeRule = EEscapeRule::Double,
                               .markup = true,
                               .lineComment = "",
                               .blockOpen = "<!--",
                               .blockClose = "-->"};
constexpr SLanguageRules kXml{.language = ELanguage::Xml,
                              .wordCharacters = kMarkupWordCharacters,
                              .foldCase = true,
                              .keywordList = kAntKeywords,
                              .contextualKeywords = {},
                              .escapeRule = EEscapeRule::Double,
                              .markup = true,
                              .lineComment = "",
                              .blockOpen = "<!--",
                              .blockClose = "-->"};
constexpr SLanguageRules kJython{.language = ELanguage::Jython,
                                 .wordCharacters = kJavaWordCharacters,
                                 .foldCase = false,
                                 .keywordList = kJythonKeywords,
                                 .contextualKeywords = {},
                                 .escapeRule = EEscapeRule::Single,
                                 .markup = false,
                                 .lineComment = "#",
                                 .blockOpen = "",
                                 .blockClose = ""};

} // namespace

const SLanguageRules& GetLanguageRules(ELanguage language) {
    switch (language) {
    case ELanguage::Html:
        return kHtml;
    case ELanguage::Xml:
        return kXml;
    case ELanguage::Jython:
        return kJython;
    case ELanguage::Java:
        break;
    }
    return kJava;
}

std::optional<ELanguage> LanguageFromPath(const std::string& path) {
    std::string name = GetFileName(path);
    if (name.find('.') == std::string::npos) {
        return std::nullopt;
    }
    std::string extension = GetExtension(name);
    if (extension == "java") {
        return ELanguage::Java;
    }
    if (extension == "html" || extension == "htm") {
        return ELanguage::Html;
    }
    if (extension == "xml") {
        return ELanguage::Xml;
    }
    if (extension == "py") {
        return ELanguage::Jython;
    }
    return std::nullopt;
}

std::vector<std::string> SplitKeywordList(std::string_view list) {
    std::vector<std::string> keywords;
    while (list.size() > 1) {
        size_t separator = list.find(';');
        if (separator == std::string_view::npos) {
            break;
        }
        keywords.emplace_back(list.substr(0, separator));
        list.remove_prefix(separator + 1);
    }
    return keywords;
}

} // namespace tovin
