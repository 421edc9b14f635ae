<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat"/>
  <xsl:template match="/">
    <html lang="zh-CN"><head><title>Vantrel</title></head><body><pre><xsl:value-of select="."/></pre></body></html>
  </xsl:template>
</xsl:stylesheet>
