<?xml version="1.0" encoding="UTF-8"?>
<!-- The printable page of the unit information: an A4 form the heritage bureau accepts on
     paper, in the same look as the report page. Every value is copied as escaped text;
     coded values show their list texts; sums come from the page functions (urn:vantrel:page). -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:page="urn:vantrel:page" exclude-result-prefixes="page">
  <xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat" indent="yes"/>

  <xsl:variable name="title">文物保护单位基本信息表</xsl:variable>

  <xsl:template match="/">
    <xsl:apply-templates select="CorpInfo"/>
  </xsl:template>

  <xsl:template match="CorpInfo">
    <xsl:variable name="name" select="normalize-space(ReportInfo/CorpName)"/>
    <html lang="zh-CN">
      <head>
        <title><xsl:value-of select="normalize-space(Basic/Name)"/> 单位基本信息表</title>
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
/* From the second sheet on: which unit the sheet belongs to. */
@page {
  @top-center {
    content: <xsl:value-of select="page:css-string(concat(
               '单位名称：', substring($name, 1, 30), substring('…', 1, string-length($name) > 30),
               '　　单位编码：', substring(normalize-space(ReportInfo/CorpID), 1, 20)))"/>;
    font-family: "Noto Serif CJK SC", "Source Han Serif SC", "SimSun", "Songti SC", "Noto Sans CJK SC", "WenQuanYi Micro Hei", serif;
    font-size: 9pt;
    vertical-align: bottom;
    padding-bottom: 3mm;
  }
}
col.label { width: 17%; }
col.value { width: 33%; }
col.group { width: 15%; }
col.sublabel { width: 18%; }
col.subvalue { width: 17%; }
col.count { width: 13%; }
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
            <th>单位编码</th>
            <td><xsl:value-of select="ReportInfo/CorpID"/></td>
          </tr>
          <tr>
            <th>填报人</th>
            <td colspan="3"><xsl:value-of select="ReportInfo/ReportUser"/></td>
            <th>填报日期</th>
            <td><xsl:value-of select="ReportInfo/ReportDate"/></td>
          </tr>
        </table>

        <h2>一、单位基本情况</h2>
        <table>
          <colgroup><col class="label"/><col class="value"/><col class="label"/><col class="value"/></colgroup>
          <tr>
            <th>单位编码</th><td><xsl:value-of select="Basic/CorpID"/></td>
            <th>地区代码</th><td><xsl:value-of select="Basic/AreaCode"/></td>
          </tr>
          <tr><th>单位全称</th><td colspan="3"><xsl:value-of select="Basic/Name"/></td></tr>
          <tr>
            <th>单位简称</th><td><xsl:value-of select="Basic/ShortName"/></td>
            <th>邮政编码</th><td><xsl:value-of select="Basic/PostCode"/></td>
          </tr>
          <tr><th>通讯地址</th><td colspan="3"><xsl:value-of select="Basic/Address"/></td></tr>
          <tr>
            <th>电话</th><td><xsl:value-of select="Basic/PhoneNo"/></td>
            <th>传真</th><td><xsl:value-of select="Basic/FaxNo"/></td>
          </tr>
          <tr><th>电子邮件</th><td colspan="3"><xsl:value-of select="Basic/Email"/></td></tr>
          <tr>
            <th>单位类型</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Basic/Type"/><xsl:with-param name="list" select="'type'"/></xsl:call-template></td>
            <th>单位性质</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Basic/Class"/><xsl:with-param name="list" select="'class'"/></xsl:call-template></td>
          </tr>
          <tr>
            <th>单位风险等级</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Basic/Risc"/><xsl:with-param name="list" select="'risk'"/></xsl:call-template></td>
            <td class="blank" colspan="2"></td>
          </tr>
        </table>

        <xsl:variable name="classes" select="Reserve/ItemDetail/FirstClassItem[1] | Reserve/ItemDetail/SecondClassItem[1]
                                             | Reserve/ItemDetail/ThirdClassItem[1] | Reserve/ItemDetail/ValuableRelic[1]"/>
        <xsl:variable name="classTotal" select="page:sum($classes/TotalNum[1])"/>
        <h2>二、单位藏品及重要出土文物保存情况</h2>
        <table>
          <colgroup><col class="label"/><col class="value"/><col class="label"/><col class="value"/></colgroup>
          <tr>
            <th>库房面积</th><td class="num"><xsl:value-of select="Reserve/DepotArea"/></td>
            <th>文物总数</th>
            <td class="num">
              <xsl:value-of select="Reserve/TotalItemNum"/>
              <xsl:if test="page:compare(Reserve/TotalItemNum, $classTotal) &lt; 0">
                <span class="diff">※ 少于各类别总数合计 <xsl:value-of select="$classTotal"/></span>
              </xsl:if>
            </td>
          </tr>
        </table>
        <table class="keep">
          <colgroup><col class="label"/><col class="count"/><col class="count"/><col class="count"/><col class="count"/><col/></colgroup>
          <thead>
            <tr>
              <th rowspan="2">类别</th><th rowspan="2" class="num">总数</th>
              <th colspan="3">其中</th><th rowspan="2" class="num">保护修复资金需求</th>
            </tr>
            <tr><th class="num">完好</th><th class="num">一般受损</th><th class="num">严重受损</th></tr>
          </thead>
          <tbody>
            <xsl:apply-templates select="Reserve/ItemDetail/FirstClassItem[1]"><xsl:with-param name="name" select="'一级品'"/></xsl:apply-templates>
            <xsl:apply-templates select="Reserve/ItemDetail/SecondClassItem[1]"><xsl:with-param name="name" select="'二级品'"/></xsl:apply-templates>
            <xsl:apply-templates select="Reserve/ItemDetail/ThirdClassItem[1]"><xsl:with-param name="name" select="'三级品'"/></xsl:apply-templates>
            <xsl:apply-templates select="Reserve/ItemDetail/ValuableRelic[1]"><xsl:with-param name="name" select="'重要出土文物'"/></xsl:apply-templates>
            <tr class="total">
              <th>合计</th>
              <td class="num"><xsl:value-of select="$classTotal"/></td>
              <td class="num"><xsl:value-of select="page:sum($classes/DetailNum[1]/GoodNum[1])"/></td>
              <td class="num"><xsl:value-of select="page:sum($classes/DetailNum[1]/SlightDamagedNum[1])"/></td>
              <td class="num"><xsl:value-of select="page:sum($classes/DetailNum[1]/SevereDamagedNum[1])"/></td>
              <td class="num"><xsl:value-of select="page:money(page:sum($classes/FundDemand[1]))"/></td>
            </tr>
          </tbody>
        </table>
        <div class="block">
          <div class="caption">藏品存放条件、损毁情况描述</div>
          <div class="text"><xsl:value-of select="Reserve/DamageDescription"/></div>
        </div>

        <h2>三、单位文物安全情况</h2>
        <table class="keep">
          <colgroup><col class="group"/><col class="sublabel"/><col class="subvalue"/><col class="sublabel"/><col/></colgroup>
          <tr>
            <th class="group">单位面积</th>
            <th>保护单位面积</th><td class="num"><xsl:value-of select="Security/AreaInfo/CorpArea"/></td>
            <th>保护范围面积</th><td class="num"><xsl:value-of select="Security/AreaInfo/ItemArea"/></td>
          </tr>
          <tr>
            <th class="group" rowspan="2">消防设施</th>
            <th>供水设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/FireProtect/WaterSupplyDeviceStatus"/></xsl:call-template></td>
            <th>报警设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/FireProtect/AlarmDeviceStatus"/></xsl:call-template></td>
          </tr>
          <tr>
            <th>防雷设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/FireProtect/LightingDeviceStatus"/></xsl:call-template></td>
            <td class="blank" colspan="2"></td>
          </tr>
          <tr>
            <th class="group" colspan="2">技防设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/SecurityDeviceStatus"/></xsl:call-template></td>
            <th>文物保存设备</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Security/StoreDeviceStatus"/></xsl:call-template></td>
          </tr>
          <tr>
            <th class="group">文物被盗情况</th>
            <th>文物被盗次数</th><td class="num"><xsl:value-of select="Security/StolenInfo/StolenTimes"/></td>
            <th>被盗文物数量</th><td class="num"><xsl:value-of select="Security/StolenInfo/StolenItemNum"/></td>
          </tr>
        </table>

        <h2>四、单位文物保护设施建设情况</h2>
        <table class="keep">
          <colgroup><col class="group"/><col class="sublabel"/><col class="subvalue"/><col class="sublabel"/><col/></colgroup>
          <tr>
            <th class="group">库房情况</th>
            <th>消防、技防设施</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Construction/Depot/FireSecurityDeviceStatus"/></xsl:call-template></td>
            <th>文物保存设备</th>
            <td><xsl:call-template name="coded"><xsl:with-param name="node" select="Construction/Depot/RelicProtectionDeviceStatus"/></xsl:call-template></td>
          </tr>
          <tr>
            <th class="group" rowspan="2">大遗址保护设施建设情况</th>
            <th>总面积</th><td class="num"><xsl:value-of select="Construction/GreatSite/TotalArea"/></td>
            <th>重点保护区面积</th><td class="num"><xsl:value-of select="Construction/GreatSite/CoreArea"/></td>
          </tr>
          <tr>
            <th>遗址年代</th><td><xsl:value-of select="Construction/GreatSite/RelicAge"/></td>
            <th>遗址类型</th><td><xsl:value-of select="Construction/GreatSite/RelicType"/></td>
          </tr>
        </table>

        <xsl:call-template name="signature"/>
      </body>
    </html>
  </xsl:template>

  <!-- One holding class: its counts and its fund demand. -->
  <xsl:template match="FirstClassItem|SecondClassItem|ThirdClassItem|ValuableRelic">
    <xsl:param name="name"/>
    <tr>
      <th><xsl:value-of select="$name"/></th>
      <td class="num"><xsl:value-of select="TotalNum"/></td>
      <td class="num"><xsl:value-of select="DetailNum/GoodNum"/></td>
      <td class="num"><xsl:value-of select="DetailNum/SlightDamagedNum"/></td>
      <td class="num"><xsl:value-of select="DetailNum/SevereDamagedNum"/></td>
      <td class="num"><xsl:value-of select="page:money(FundDemand)"/></td>
    </tr>
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
  <!-- The text of a coded value: the list's own text for a known code, else what the
       document recorded beside the code, else the code itself. -->
  <xsl:template name="coded">
    <xsl:param name="node"/>
    <xsl:param name="list" select="'state'"/>
    <xsl:variable name="code" select="number($node)"/>
    <xsl:variable name="text">
      <xsl:choose>
        <xsl:when test="$list = 'type'">
          <xsl:choose>
            <xsl:when test="$code = 10">古建、石窟、近现代建筑</xsl:when>
            <xsl:when test="$code = 20">遗址、墓葬</xsl:when>
            <xsl:when test="$code = 30">博物馆</xsl:when>
            <xsl:when test="$code = 40">文物库房</xsl:when>
            <xsl:when test="$code = 50">其他</xsl:when>
          </xsl:choose>
        </xsl:when>
        <xsl:when test="$list = 'class'">
          <xsl:choose>
            <xsl:when test="$code = 11">全国重点文物保护单位</xsl:when>
            <xsl:when test="$code = 12">拟申报全国重点文物保护单位</xsl:when>
            <xsl:when test="$code = 13">省级文物保护单位</xsl:when>
            <xsl:when test="$code = 14">地、市级文物保护单位</xsl:when>
            <xsl:when test="$code = 15">县级文物保护单位</xsl:when>
            <xsl:when test="$code = 20">重点博物馆</xsl:when>
            <xsl:when test="$code = 21">省级博物馆</xsl:when>
            <xsl:when test="$code = 22">市和县级博物馆</xsl:when>
            <xsl:when test="$code = 23">文物中心库房</xsl:when>
            <xsl:when test="$code = 90">其他</xsl:when>
          </xsl:choose>
        </xsl:when>
        <xsl:when test="$list = 'risk'">
          <xsl:choose>
            <xsl:when test="$code = 10">一级风险单位</xsl:when>
            <xsl:when test="$code = 20">二级风险单位</xsl:when>
            <xsl:when test="$code = 90">其他</xsl:when>
          </xsl:choose>
        </xsl:when>
        <xsl:otherwise>
          <xsl:choose>
            <xsl:when test="$code = 3">完善</xsl:when>
            <xsl:when test="$code = 2">较完善</xsl:when>
            <xsl:when test="$code = 1">不完善</xsl:when>
            <xsl:when test="$code = 0">无</xsl:when>
          </xsl:choose>
        </xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <xsl:choose>
      <xsl:when test="string($text) != ''"><xsl:value-of select="$text"/></xsl:when>
      <xsl:when test="normalize-space($node/@dict) != ''"><xsl:value-of select="normalize-space($node/@dict)"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="normalize-space($node)"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
