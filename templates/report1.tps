<?xml version="1.0" encoding="UTF-8"?>
<!--
  The printed page of a budget report: one A4 application form that a clerk prints
  from the browser and hands in on paper. Every value is written as escaped text.
  Amounts are printed as money with the decimals that were typed; sums come from the
  page functions (urn:vantrel:page), which add decimals exactly as the budget checks do.
  The budget section of the project's category is always shown, the other sections
  only when they hold an amount.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:page="urn:vantrel:page" exclude-result-prefixes="page">
  <xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat" indent="yes"/>

  <xsl:variable name="title">文物保护专项经费项目预算申报表</xsl:variable>

  <xsl:template match="/">
    <xsl:apply-templates select="*"/>
  </xsl:template>

  <!-- A document of another kind still gives a page, with only the title. -->
  <xsl:template match="/*" priority="-1">
    <html lang="zh-CN">
      <head>
        <title><xsl:value-of select="$title"/></title>
      </head>
      <body>
        <h1><xsl:value-of select="$title"/></h1>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="Report">
    <xsl:variable name="basic" select="BasicInfo"/>
    <xsl:variable name="name" select="normalize-space($basic/ProjectName)"/>
    <xsl:variable name="category">
      <xsl:call-template name="category-of">
        <xsl:with-param name="code" select="normalize-space($basic/ProjectType)"/>
      </xsl:call-template>
    </xsl:variable>
    <html lang="zh-CN">
      <head>
        <title>
          <xsl:value-of select="$title"/>
          <xsl:if test="$name != ''">
            <xsl:text> - </xsl:text>
            <xsl:value-of select="$name"/>
          </xsl:if>
        </title>
        <style>
/* The same rules on the report page and the unit page. */
@page {
  size: A4;
  margin: 20mm 16mm 18mm 16mm;
  @bottom-center {
    content: "第 " counter(page) " 页 共 " counter(pages) " 页";
    font-family: "Noto Serif CJK SC", "Source Han Serif SC", "SimSun", "Songti SC", "Noto Sans CJK SC", "WenQuanYi Micro Hei", serif;
    font-size: 9pt;
    vertical-align: top;
    padding-top: 4mm;
  }
}
@page :first { @top-center { content: none; } @top-left { content: none; } @top-right { content: none; } }
* { box-sizing: border-box; }
html {
  font-family: "Noto Serif CJK SC", "Source Han Serif SC", "SimSun", "Songti SC", "Noto Sans CJK SC", "WenQuanYi Micro Hei", serif;
  font-size: 10.5pt;
  line-height: 1.5;
  color: #000;
  background: #fff;
  -webkit-print-color-adjust: exact;
  print-color-adjust: exact;
}
body { margin: 0; }
@media screen { body { max-width: 178mm; margin: 12mm auto; } }
h1, h2, h3, .band th, th.group, tr.total th, .caption {
  font-family: "Noto Sans CJK SC", "Source Han Sans SC", "Microsoft YaHei", "WenQuanYi Micro Hei", sans-serif;
}
h1 { font-size: 17pt; font-weight: bold; text-align: center; letter-spacing: 0.12em; margin: 0 0 5mm; }
h2 { font-size: 12pt; font-weight: bold; margin: 6mm 0 2mm; break-after: avoid; page-break-after: avoid; }
h3 { font-size: 10.5pt; font-weight: bold; margin: 3.5mm 0 1.5mm; break-after: avoid; page-break-after: avoid; }
table { width: 100%; border-collapse: collapse; table-layout: fixed; margin: 0 0 2mm; }
thead { display: table-header-group; }
tr { break-inside: avoid; page-break-inside: avoid; }
tr.long { break-inside: auto; page-break-inside: auto; }
tr.group { break-after: avoid; page-break-after: avoid; }
.keep { break-inside: avoid; page-break-inside: avoid; }
th, td {
  border: 0.6pt solid #000; padding: 1.2mm 2mm; vertical-align: middle; text-align: left;
  overflow-wrap: anywhere; word-break: break-word;
}
th { font-weight: normal; background: #f2f2f2; }
thead th { text-align: center; font-weight: bold; background: #e6e6e6; }
th.group { background: #e6e6e6; font-weight: bold; text-align: left; }
.num { text-align: right; font-variant-numeric: tabular-nums lining-nums; }
thead th.num { text-align: center; }
td.long { white-space: pre-wrap; vertical-align: top; }
td.blank { background: #fafafa; }
tr.total th, tr.total td { font-weight: bold; border-top: 1.2pt solid #000; }
tr.total th { text-align: center; }
.diff { display: block; margin-top: 0.8mm; font-size: 9pt; font-weight: bold; border: 0.6pt dashed #000; padding: 0.3mm 1mm; text-align: left; }
.band { margin-bottom: 4mm; border-top: 1.2pt solid #000; border-bottom: 1.2pt solid #000; }
.band th, .band td { border: none; padding: 1.4mm 1.5mm; background: none; vertical-align: baseline; }
.band th { white-space: nowrap; font-weight: bold; font-size: 10pt; text-align: left; }
.band td { border-bottom: 0.6pt solid #000; }
.band tr + tr th, .band tr + tr td { padding-top: 2mm; }
.block { margin: 0 0 2mm; }
.caption { border: 0.6pt solid #000; background: #e6e6e6; font-weight: bold; padding: 1.2mm 2mm; break-after: avoid; page-break-after: avoid; }
.text { border: 0.6pt solid #000; border-top: none; padding: 2mm; min-height: 14mm; white-space: pre-wrap; overflow-wrap: anywhere; word-break: break-word; }
.sign { margin-top: 8mm; break-inside: avoid; page-break-inside: avoid; }
.sign td { border: none; padding: 0 2mm 0 0; height: 18mm; vertical-align: bottom; }
/* From the second sheet on: which project the sheet belongs to. */
@page {
  @top-center {
    content: <xsl:value-of select="page:css-string(concat(
               '项目名称：', substring($name, 1, 30), substring('…', 1, string-length($name) > 30),
               '　　项目编号：', substring(normalize-space($basic/ProjectID), 1, 20)))"/>;
    font-family: "Noto Serif CJK SC", "Source Han Serif SC", "SimSun", "Songti SC", "Noto Sans CJK SC", "WenQuanYi Micro Hei", serif;
    font-size: 9pt;
    vertical-align: bottom;
    padding-bottom: 3mm;
  }
}
col.label { width: 24%; }
col.value { width: 26%; }
col.item { width: 40%; }
col.amount { width: 30%; }
col.year { width: 16%; }
col.money { width: 28%; }
col.quarter { width: 25%; }
th.center { text-align: center; }
        </style>
      </head>
      <body>
        <h1><xsl:value-of select="$title"/></h1>

        <table class="band">
          <colgroup>
            <col style="width:11%"/><col style="width:22.33%"/><col style="width:11%"/>
            <col style="width:22.33%"/><col style="width:11%"/><col style="width:22.34%"/>
          </colgroup>
          <tr>
            <th>单位名称</th>
            <td colspan="3"><xsl:value-of select="ReportInfo/CorpName"/></td>
            <th>单位编号</th>
            <td><xsl:value-of select="ReportInfo/CorpID"/></td>
          </tr>
          <tr>
            <th>填报人</th>
            <td><xsl:value-of select="ReportInfo/ReportUser"/></td>
            <th>填报日期</th>
            <td><xsl:value-of select="ReportInfo/ReportDate"/></td>
            <th>项目编号</th>
            <td><xsl:value-of select="$basic/ProjectID"/></td>
          </tr>
        </table>

        <h2>一、项目基本情况</h2>
        <table>
          <colgroup><col class="label"/><col class="value"/><col class="label"/><col class="value"/></colgroup>
          <tr>
            <th>项目名称</th>
            <td colspan="3"><xsl:value-of select="$basic/ProjectName"/></td>
          </tr>
          <tr>
            <th>项目类别</th>
            <td>
              <xsl:call-template name="display-text">
                <xsl:with-param name="node" select="$basic/ProjectType"/>
                <xsl:with-param name="list" select="'type'"/>
              </xsl:call-template>
            </td>
            <th>项目性质</th>
            <td>
              <xsl:call-template name="display-text">
                <xsl:with-param name="node" select="$basic/ProjectAttribute"/>
                <xsl:with-param name="list" select="'nature'"/>
              </xsl:call-template>
            </td>
          </tr>
          <tr class="group"><th class="group" colspan="4">抢救性文物保护措施建设项目</th></tr>
          <tr>
            <th>新增库房面积</th>
            <td class="num"><xsl:value-of select="$basic/SalvageItem/NewDepotArea"/></td>
            <th>遗址保护设施建设规模</th>
            <td class="num"><xsl:value-of select="$basic/SalvageItem/RelicProtectionArea"/></td>
          </tr>
          <tr class="long">
            <th>保护设施设备内容</th>
            <td class="long" colspan="3"><xsl:value-of select="$basic/SalvageItem/ProtectionContent"/></td>
          </tr>
          <tr class="long">
            <th>遗址保护设施建设内容</th>
            <td class="long" colspan="3"><xsl:value-of select="$basic/SalvageItem/RelicProtectionContent"/></td>
          </tr>
          <tr class="group"><th class="group" colspan="4">文物保护专项补助经费项目</th></tr>
          <tr>
            <th>保护维修面积</th>
            <td class="num"><xsl:value-of select="$basic/AssitantItem/ProtectionArea"/></td>
            <td class="blank" colspan="2"></td>
          </tr>
        </table>

        <xsl:call-template name="long-text">
          <xsl:with-param name="caption">"九五"以来主要保护内容</xsl:with-param>
          <xsl:with-param name="node" select="$basic/PreserveContent"/>
        </xsl:call-template>
        <xsl:call-template name="long-text">
          <xsl:with-param name="caption">现存主要问题</xsl:with-param>
          <xsl:with-param name="node" select="$basic/CurrentProblem"/>
        </xsl:call-template>
        <xsl:call-template name="long-text">
          <xsl:with-param name="caption">"十一五"项目主要内容</xsl:with-param>
          <xsl:with-param name="node" select="$basic/ProjectContent"/>
        </xsl:call-template>
        <xsl:call-template name="long-text">
          <xsl:with-param name="caption">备注</xsl:with-param>
          <xsl:with-param name="node" select="$basic/Remark"/>
        </xsl:call-template>

        <h2>二、项目资金需求情况</h2>
        <xsl:variable name="investment" select="FundDemand/Investment"/>
        <h3>九五以来资金投入</h3>
        <table class="keep">
          <colgroup><col class="quarter"/><col class="quarter"/><col class="quarter"/><col class="quarter"/></colgroup>
          <thead>
            <tr><th class="num">中央</th><th class="num">地方</th><th class="num">其他</th><th class="num">合计</th></tr>
          </thead>
          <tbody>
            <tr>
              <td class="num"><xsl:value-of select="page:money($investment/State)"/></td>
              <td class="num"><xsl:value-of select="page:money($investment/Local)"/></td>
              <td class="num"><xsl:value-of select="page:money($investment/Other)"/></td>
              <td class="num"><xsl:value-of select="page:money(page:sum($investment/State[1], $investment/Local[1], $investment/Other[1]))"/></td>
            </tr>
          </tbody>
        </table>

        <xsl:variable name="demand" select="FundDemand/Demand"/>
        <xsl:variable name="central" select="$demand/State/Year2006[1] | $demand/State/Year2007[1] | $demand/State/Year2008[1]
                                             | $demand/State/Year2009[1] | $demand/State/Year2010[1]"/>
        <xsl:variable name="local" select="$demand/Local/Year2006[1] | $demand/Local/Year2007[1] | $demand/Local/Year2008[1]
                                           | $demand/Local/Year2009[1] | $demand/Local/Year2010[1]"/>
        <xsl:variable name="yearsTotal" select="page:sum($central, $local)"/>
        <h3>十一五期间资金需求</h3>
        <table class="keep">
          <colgroup><col class="year"/><col class="money"/><col class="money"/><col class="money"/></colgroup>
          <thead>
            <tr><th>年度</th><th class="num">中央</th><th class="num">地方</th><th class="num">合计</th></tr>
          </thead>
          <tbody>
            <xsl:call-template name="year-row"><xsl:with-param name="year" select="'2006'"/><xsl:with-param name="demand" select="$demand"/></xsl:call-template>
            <xsl:call-template name="year-row"><xsl:with-param name="year" select="'2007'"/><xsl:with-param name="demand" select="$demand"/></xsl:call-template>
            <xsl:call-template name="year-row"><xsl:with-param name="year" select="'2008'"/><xsl:with-param name="demand" select="$demand"/></xsl:call-template>
            <xsl:call-template name="year-row"><xsl:with-param name="year" select="'2009'"/><xsl:with-param name="demand" select="$demand"/></xsl:call-template>
            <xsl:call-template name="year-row"><xsl:with-param name="year" select="'2010'"/><xsl:with-param name="demand" select="$demand"/></xsl:call-template>
            <tr class="total">
              <th>合计</th>
              <td class="num"><xsl:value-of select="page:money(page:sum($central))"/></td>
              <td class="num"><xsl:value-of select="page:money(page:sum($local))"/></td>
              <td class="num"><xsl:value-of select="page:money($yearsTotal)"/></td>
            </tr>
            <tr class="total">
              <th colspan="3">2006—2010年资金需求合计（填报数）</th>
              <td class="num">
                <xsl:value-of select="page:money($demand/Total)"/>
                <xsl:if test="page:compare($demand/Total, $yearsTotal) != 0">
                  <span class="diff">※ 与各年合计 <xsl:value-of select="page:money($yearsTotal)"/> 不符</span>
                </xsl:if>
              </td>
            </tr>
          </tbody>
        </table>

        <h2>三、项目资金预算情况</h2>
        <xsl:variable name="budget" select="BudgetDetail"/>
        <!-- The section of the project's own category first, then any other section
             that holds an amount, in the order of the form. -->
        <xsl:apply-templates select="$budget/*[local-name() = $category]" mode="section"/>
        <xsl:for-each select="$budget/*[local-name() != $category]">
          <xsl:if test=".//*[not(*)][normalize-space(.) != '' and not(number(.) = 0)]">
            <xsl:apply-templates select="." mode="section"/>
          </xsl:if>
        </xsl:for-each>

        <xsl:call-template name="signature"/>
      </body>
    </html>
  </xsl:template>

  <!-- ===== Budget sections: caption and item labels exactly as on the form ===== -->

  <xsl:template match="RelicRepairment" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">文保维修遗址保护</xsl:with-param>
      <xsl:with-param name="items" select="Preparation[1] | Construction[1] | Estate[1] | Enviroment[1] | Traffic[1] | Other[1]"/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">前期费用</xsl:with-param><xsl:with-param name="item" select="Preparation"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">工程费</xsl:with-param><xsl:with-param name="item" select="Construction"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">征地</xsl:with-param><xsl:with-param name="item" select="Estate"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">环境整治</xsl:with-param><xsl:with-param name="item" select="Enviroment"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">道路设施</xsl:with-param><xsl:with-param name="item" select="Traffic"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">其他</xsl:with-param><xsl:with-param name="item" select="Other"/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="UnEarth" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">考古发掘</xsl:with-param>
      <xsl:with-param name="items" select="Preparation[1] | UnEarth[1] | Report[1] | Protection[1] | Other[1]"/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">前期费用</xsl:with-param><xsl:with-param name="item" select="Preparation"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">发掘费</xsl:with-param><xsl:with-param name="item" select="UnEarth"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">报告出版(含资料整理)</xsl:with-param><xsl:with-param name="item" select="Report"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">保护费遗址考古现场</xsl:with-param><xsl:with-param name="item" select="Protection"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">其他</xsl:with-param><xsl:with-param name="item" select="Other"/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="DepotRepairment" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">博物馆维修</xsl:with-param>
      <xsl:with-param name="items" select="Preparation[1] | Construction[1] | Other[1]"/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">前期费用</xsl:with-param><xsl:with-param name="item" select="Preparation"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">工程费</xsl:with-param><xsl:with-param name="item" select="Construction"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">其他</xsl:with-param><xsl:with-param name="item" select="Other"/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="RelicPurchase" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">文物征集</xsl:with-param>
      <xsl:with-param name="items" select="."/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">文物征集费</xsl:with-param><xsl:with-param name="item" select="."/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="FireSecurity" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">安全消防</xsl:with-param>
      <xsl:with-param name="items" select="Design[1] | Purchase[1] | Construction[1] | Other[1]"/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">规划设计费</xsl:with-param><xsl:with-param name="item" select="Design"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">设备器材购置费</xsl:with-param><xsl:with-param name="item" select="Purchase"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">施工预算</xsl:with-param><xsl:with-param name="item" select="Construction"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">其他</xsl:with-param><xsl:with-param name="item" select="Other"/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="RelicProtection" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">藏品保护</xsl:with-param>
      <xsl:with-param name="items" select="Design[1] | Repairment[1] | Other[1]"/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">方案设计费</xsl:with-param><xsl:with-param name="item" select="Design"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">保护修复费</xsl:with-param><xsl:with-param name="item" select="Repairment"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">其他</xsl:with-param><xsl:with-param name="item" select="Other"/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="GreatSiteProtection" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">大遗址保护设施</xsl:with-param>
      <xsl:with-param name="items" select="Construction[1] | Purchase[1] | Other[1]"/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">土地工程费</xsl:with-param><xsl:with-param name="item" select="Construction"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">设备购置费</xsl:with-param><xsl:with-param name="item" select="Purchase"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">其他</xsl:with-param><xsl:with-param name="item" select="Other"/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <xsl:template match="DepotConstruction" mode="section">
    <xsl:call-template name="budget-table">
      <xsl:with-param name="caption">文物库房建设</xsl:with-param>
      <xsl:with-param name="items" select="Construction[1] | Purchase[1] | Other[1]"/>
      <xsl:with-param name="rows">
        <xsl:call-template name="cost-row"><xsl:with-param name="label">土地工程费</xsl:with-param><xsl:with-param name="item" select="Construction"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">设备购置费</xsl:with-param><xsl:with-param name="item" select="Purchase"/></xsl:call-template>
        <xsl:call-template name="cost-row"><xsl:with-param name="label">其他</xsl:with-param><xsl:with-param name="item" select="Other"/></xsl:call-template>
      </xsl:with-param>
    </xsl:call-template>
  </xsl:template>

  <!-- Anything else under BudgetDetail is not a section of the form. -->
  <xsl:template match="*" mode="section"/>

  <!-- A section's items, then the sum of their totals and of their central shares. -->
  <xsl:template name="budget-table">
    <xsl:param name="caption"/>
    <xsl:param name="items"/>
    <xsl:param name="rows"/>
    <h3><xsl:value-of select="$caption"/></h3>
    <table class="keep">
      <colgroup><col class="item"/><col class="amount"/><col class="amount"/></colgroup>
      <thead>
        <tr><th>费用项目</th><th class="num">总计</th><th class="num">中央投入</th></tr>
      </thead>
      <tbody>
        <xsl:copy-of select="$rows"/>
        <tr class="total">
          <th>合计</th>
          <td class="num"><xsl:value-of select="page:money(page:sum($items/Total[1]))"/></td>
          <td class="num"><xsl:value-of select="page:money(page:sum($items/State[1]))"/></td>
        </tr>
      </tbody>
    </table>
  </xsl:template>

  <xsl:template name="cost-row">
    <xsl:param name="label"/>
    <xsl:param name="item"/>
    <tr>
      <th><xsl:value-of select="$label"/></th>
      <td class="num"><xsl:value-of select="page:money($item[1]/Total)"/></td>
      <td class="num"><xsl:value-of select="page:money($item[1]/State)"/></td>
    </tr>
  </xsl:template>

  <!-- One year: its central and local amounts and their sum. -->
  <xsl:template name="year-row">
    <xsl:param name="year"/>
    <xsl:param name="demand"/>
    <xsl:variable name="central" select="$demand/State/*[local-name() = concat('Year', $year)][1]"/>
    <xsl:variable name="local" select="$demand/Local/*[local-name() = concat('Year', $year)][1]"/>
    <tr>
      <th class="center"><xsl:value-of select="$year"/></th>
      <td class="num"><xsl:value-of select="page:money($central)"/></td>
      <td class="num"><xsl:value-of select="page:money($local)"/></td>
      <td class="num"><xsl:value-of select="page:money(page:sum($central, $local))"/></td>
    </tr>
  </xsl:template>

  <xsl:template name="long-text">
    <xsl:param name="caption"/>
    <xsl:param name="node"/>
    <div class="block">
      <div class="caption"><xsl:value-of select="$caption"/></div>
      <div class="text"><xsl:value-of select="$node"/></div>
    </div>
  </xsl:template>

  <!-- Room for the signatures and the unit's seal, the same on every page of ours. -->
  <xsl:template name="signature">
    <table class="sign">
      <colgroup><col style="width:50%"/><col style="width:50%"/></colgroup>
      <tr>
        <td>单位负责人（签字）：</td>
        <td>填报人（签字）：</td>
      </tr>
      <tr>
        <td>填报单位（盖章）：</td>
        <td>日期：　　　　年　　月　　日</td>
      </tr>
    </table>
  </xsl:template>
  <!-- ===== Coded lists ===== -->

  <!-- The text the list showed: the stored dict, or the list's own text for the code. -->
  <xsl:template name="display-text">
    <xsl:param name="node"/>
    <xsl:param name="list"/>
    <xsl:variable name="code" select="normalize-space($node)"/>
    <xsl:choose>
      <xsl:when test="normalize-space($node/@dict) != ''">
        <xsl:value-of select="$node/@dict"/>
      </xsl:when>
      <xsl:when test="$list = 'type'">
        <xsl:call-template name="type-text"><xsl:with-param name="code" select="$code"/></xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <xsl:call-template name="nature-text"><xsl:with-param name="code" select="$code"/></xsl:call-template>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="type-text">
    <xsl:param name="code"/>
    <xsl:choose>
      <xsl:when test="$code = '11'">古建维修规划</xsl:when>
      <xsl:when test="$code = '12'">古建维修</xsl:when>
      <xsl:when test="$code = '13'">其他保护维修项目</xsl:when>
      <xsl:when test="$code = '21'">田野考古调查</xsl:when>
      <xsl:when test="$code = '22'">田野考古勘探</xsl:when>
      <xsl:when test="$code = '23'">田野考古发掘</xsl:when>
      <xsl:when test="$code = '24'">水下考古调查</xsl:when>
      <xsl:when test="$code = '25'">水下考古勘探</xsl:when>
      <xsl:when test="$code = '26'">水下考古发掘</xsl:when>
      <xsl:when test="$code = '27'">航空考古调查</xsl:when>
      <xsl:when test="$code = '28'">航空考古勘探</xsl:when>
      <xsl:when test="$code = '29'">航空考古发掘</xsl:when>
      <xsl:when test="$code = '31'">博物馆维修规划</xsl:when>
      <xsl:when test="$code = '32'">博物馆维修</xsl:when>
      <xsl:when test="$code = '40'">文物征集</xsl:when>
      <xsl:when test="$code = '50'">安全消防</xsl:when>
      <xsl:when test="$code = '60'">藏品及重要出土文物保护</xsl:when>
      <xsl:when test="$code = '71'">遗址保护规划</xsl:when>
      <xsl:when test="$code = '72'">遗址保护</xsl:when>
      <xsl:when test="$code = '81'">新建库房</xsl:when>
      <xsl:when test="$code = '82'">改建库房</xsl:when>
      <xsl:when test="$code = '83'">扩建库房</xsl:when>
      <xsl:when test="$code = '84'">购置保护设施</xsl:when>
      <xsl:when test="$code = '90'">大遗址保护设施建设</xsl:when>
      <xsl:otherwise><xsl:value-of select="$code"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="nature-text">
    <xsl:param name="code"/>
    <xsl:choose>
      <xsl:when test="$code = '1'">抢救性</xsl:when>
      <xsl:when test="$code = '2'">维护性</xsl:when>
      <xsl:when test="$code = '3'">保护利用性</xsl:when>
      <xsl:otherwise><xsl:value-of select="$code"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The budget section that a project type enables. -->
  <xsl:template name="category-of">
    <xsl:param name="code"/>
    <xsl:choose>
      <xsl:when test="$code = '' or contains($code, ' ')"/>
      <xsl:when test="contains(' 11 12 13 71 72 ', concat(' ', $code, ' '))">RelicRepairment</xsl:when>
      <xsl:when test="contains(' 21 22 23 24 25 26 27 28 29 ', concat(' ', $code, ' '))">UnEarth</xsl:when>
      <xsl:when test="$code = '31' or $code = '32'">DepotRepairment</xsl:when>
      <xsl:when test="$code = '40'">RelicPurchase</xsl:when>
      <xsl:when test="$code = '50'">FireSecurity</xsl:when>
      <xsl:when test="$code = '60'">RelicProtection</xsl:when>
      <xsl:when test="$code = '90'">GreatSiteProtection</xsl:when>
      <xsl:when test="contains(' 81 82 83 84 ', concat(' ', $code, ' '))">DepotConstruction</xsl:when>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
